// The display window procedure: turns the messages of every display window into calls on
// the items of its display, and, while a question is asked, into answers.
#include "shell/DisplayWindowProc.h"

#include "items/AccessibleItems.h"
#include "items/AnswerKeys.h"
#include "items/AppServices.h"
#include "items/Display.h"
#include "items/Drawing.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"

namespace lorvenna {

namespace {

// The answer marks are 16 x 16; a click that no answering item gives a spot of its own is
// marked where it was made.
constexpr int kMarkHalf = 8;

Display* displayOf(ChildWindow& window) {
    return static_cast<Display*>(window.userData());
}

bool holdsItem(const Display* display, const void* key) {
    for (const Item* item = display->items; item; item = item->next) {
        if (item == key)
            return true;
    }
    return false;
}

// The display of window, or none while a page is being built: then every message of the
// display windows is dropped.
Display* displayToHandle(ChildWindow& window) {
    return pageOnScreen().pageBuilding ? nullptr : displayOf(window);
}

class DisplayProc final : public ChildWindowProc {
public:
    void paint(ChildWindow& window) override {
        Display* display = displayToHandle(window);
        if (!display)
            return;
        window.setPointCursor(pageOnScreen().answer.questionActive());
        // The window keeps its picture between paints, so the items draw again only when the
        // picture is out of date (a new window, or a display marked since its last repaint);
        // the marks on the overlay stay until the display's next repaint.
        repaintDisplay(display);
    }

    void controlNotification(ChildWindow& window, unsigned notification) override {
        Display* display = displayToHandle(window);
        if (!display || pageOnScreen().answerPauseRunning())
            return;
        const int code = static_cast<int>(notification >> 16);
        if (code == kNotifyClicked) {
            appServices().focusMainWindow();
        } else if (code != kNotifySetFocus && code != kNotifyChanged) {
            return;
        }
        // Only the first item with the control's id is asked.
        for (Item* item = display->items; item; item = item->next) {
            if (!controlIdMatches(item->controlId, notification))
                continue;
            if (item->Command(notification))
                JudgeAnswer();
            return;
        }
    }

    void timer(ChildWindow& window, const void* key) override {
        Display* display = displayToHandle(window);
        if (!display || pageOnScreen().pageClosing || pageOnScreen().answerPauseRunning())
            return;
        // The key is the item that started the timer; a key that is no longer one of the
        // display's items is never taken for one.
        if (!holdsItem(display, key))
            return;
        Item* item = static_cast<Item*>(const_cast<void*>(key));
        if (item->running)
            item->Input("TICK", 0.0, nullptr);
    }

    void scrollRequest(ChildWindow& window, ScrollRequest request, Control* control) override {
        Display* display = displayToHandle(window);
        if (!display)
            return;
        for (Item* item = display->items; item; item = item->next) {
            if (item->Scroll(request, control))
                return;
        }
    }

    void mouseMove(ChildWindow& window, int x, int y) override {
        if (!displayToHandle(window))
            return;
        const unsigned ux = static_cast<unsigned>(x) & 0xFFFFu;
        const unsigned uy = static_cast<unsigned>(y) & 0xFFFFu;
        // The arrow, unless the pointer has moved while a question is asked.
        const bool moved = ux != pageOnScreen().lastMouseX || uy != pageOnScreen().lastMouseY;
        window.setPointCursor(moved && pageOnScreen().answer.questionActive());
        if (!moved)
            return;
        pageOnScreen().lastMouseX = ux;
        pageOnScreen().lastMouseY = uy;
    }

    void leftButtonDown(ChildWindow& window, int x, int y) override {
        Display* display = displayToHandle(window);
        if (!display)
            return;
        pageOnScreen().lastMouseX = static_cast<unsigned>(x) & 0xFFFFu;
        pageOnScreen().lastMouseY = static_cast<unsigned>(y) & 0xFFFFu;
        clickItem(*display, hitTestItems(display->items, x, y), x, y);
    }

    AccessibleView accessibleView(ChildWindow& window) override {
        Display* display = displayToHandle(window);
        return display ? describeDisplay(*display) : AccessibleView{};
    }

    void accessiblePress(ChildWindow& window, const void* key) override {
        Display* display = displayToHandle(window);
        if (!display || !holdsItem(display, key))
            return;
        pressItem(*static_cast<Item*>(const_cast<void*>(key)));
    }
};

} // namespace

void clickItem(Display& display, Item* hit, int x, int y) {
    // Set before the click, so an answering item that has a mark spot of its own replaces it.
    if (pageOnScreen().answer.questionActive() && !pageOnScreen().answerPauseRunning())
        pageOnScreen().answer.setMark(x - kMarkHalf, y - kMarkHalf);

    if (hit)
        hit->Click(&display, kLeftButtonDown, x, y);

    if (!pageOnScreen().answer.questionActive() || pageOnScreen().answerPauseRunning())
        return;
    const Item* question = pageOnScreen().answer.currentQuestion();
    if (!hit && question && question->isType(ItemType::Text))
        return;
    pageOnScreen().answer.choose(hit, &display);
    JudgeAnswer();
}

void pressItem(Item& item) {
    Display* display = item.display;
    if (!display || !display->window || pageOnScreen().pageBuilding || !takesKeyboard(item))
        return;
    switch (item.type) {
    case ItemType::Button:
    case ItemType::Highlighter:
        displayWindowProc()->controlNotification(*display->window,
                                                 notificationWord(kNotifyClicked, item.controlId));
        return;
    case ItemType::Zone: // the zone puts its answer mark at its middle, wherever clicked
    case ItemType::Text:
    case ItemType::Label:
        clickItem(*display, &item, item.bounds.left, item.bounds.top);
        return;
    case ItemType::Edit:
        if (item.control)
            item.control->setFocus();
        return;
    case ItemType::None:
    case ItemType::Bmp:
    case ItemType::Slider:
    case ItemType::Timer:
    case ItemType::Ani:
    case ItemType::Imsel:
        return;
    }
}

ChildWindowProc* displayWindowProc() {
    static DisplayProc proc;
    return &proc;
}

Point lastMousePosition() {
    return {static_cast<int>(pageOnScreen().lastMouseX),
            static_cast<int>(pageOnScreen().lastMouseY)};
}

} // namespace lorvenna

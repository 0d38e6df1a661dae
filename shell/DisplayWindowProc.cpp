// The display window procedure: turns the messages of every display window into calls on
// the items of its display, and, while a question is asked, into answers.
#include "shell/DisplayWindowProc.h"

#include "items/AnswerKeys.h"
#include "items/Item.h"
#include "lesson/Display.h"
#include "platform/ChildWindow.h"
#include "shell/AppServices.h"
#include "shell/Drawing.h"
#include "shell/SessionState.h"

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
    return session().pageBuilding ? nullptr : displayOf(window);
}

class DisplayProc final : public ChildWindowProc {
public:
    void paint(ChildWindow& window) override {
        SessionState& s = session();
        Display* display = displayToHandle(window);
        if (!display)
            return;
        window.setPointCursor(s.answer.questionActive());
        // The window keeps its picture between paints, so the items draw again only when the
        // picture is out of date (a new window, or a display marked since its last repaint);
        // the marks on the overlay stay until the display's next repaint.
        repaintDisplay(display);
    }

    void controlNotification(ChildWindow& window, unsigned notification) override {
        SessionState& s = session();
        Display* display = displayToHandle(window);
        if (!display || s.answerPauseRunning())
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
        SessionState& s = session();
        Display* display = displayToHandle(window);
        if (!display || s.pageClosing || s.answerPauseRunning())
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
        SessionState& s = session();
        if (!displayToHandle(window))
            return;
        const unsigned ux = static_cast<unsigned>(x) & 0xFFFFu;
        const unsigned uy = static_cast<unsigned>(y) & 0xFFFFu;
        // The arrow, unless the pointer has moved while a question is asked.
        const bool moved = ux != s.lastMouseX || uy != s.lastMouseY;
        window.setPointCursor(moved && s.answer.questionActive());
        if (!moved)
            return;
        s.lastMouseX = ux;
        s.lastMouseY = uy;
    }

    void leftButtonDown(ChildWindow& window, int x, int y) override {
        SessionState& s = session();
        Display* display = displayToHandle(window);
        if (!display)
            return;
        s.lastMouseX = static_cast<unsigned>(x) & 0xFFFFu;
        s.lastMouseY = static_cast<unsigned>(y) & 0xFFFFu;

        // Set before the click, so an answering item that has a mark spot of its own
        // replaces it.
        if (s.answer.questionActive() && !s.answerPauseRunning())
            s.answer.setMark(x - kMarkHalf, y - kMarkHalf);

        Item* hit = hitTestItems(display->items, x, y);
        if (hit)
            hit->Click(display, kLeftButtonDown, x, y);

        if (!s.answer.questionActive() || s.answerPauseRunning())
            return;
        const Item* question = s.answer.currentQuestion();
        if (!hit && question && question->isType(ItemType::Text))
            return;
        s.answer.choose(hit, display);
        JudgeAnswer();
    }
};

} // namespace

ChildWindowProc* displayWindowProc() {
    static DisplayProc proc;
    return &proc;
}

Point lastMousePosition() {
    const SessionState& s = session();
    return {static_cast<int>(s.lastMouseX), static_cast<int>(s.lastMouseY)};
}

} // namespace lorvenna

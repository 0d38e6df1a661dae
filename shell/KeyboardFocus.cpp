// The keyboard layer of the page: where the ring is and what the keys do to it.
#include "shell/KeyboardFocus.h"

#include "items/AccessibleItems.h"
#include "items/AppServices.h"
#include "items/Display.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "shell/DisplayWindowProc.h"

#include <algorithm>
#include <vector>

namespace lorvenna {

namespace {

// The items Tab stops at: displays in page order, each display's items in list order.
std::vector<Item*> tabStops() {
    std::vector<Item*> stops;
    for (Display* display : shownDisplays()) {
        for (Item* item = display->items; item; item = item->next) {
            if (takesKeyboard(*item))
                stops.push_back(item);
        }
    }
    return stops;
}

bool isArrow(VirtualKey key) {
    return key == VirtualKey::Left || key == VirtualKey::Right || key == VirtualKey::Up ||
           key == VirtualKey::Down;
}

ScrollRequest arrowRequest(VirtualKey key) {
    return key == VirtualKey::Left || key == VirtualKey::Up ? ScrollRequest::LineUp
                                                            : ScrollRequest::LineDown;
}

} // namespace

Item* KeyboardFocus::focused() const {
    if (!item_ || liveItemSerial(item_) != serial_ || !isShown(item_->display))
        return nullptr;
    return item_;
}

void KeyboardFocus::focusOn(Item* item) {
    if (ringOn_ && isShown(ringOn_) && ringOn_->window)
        ringOn_->window->setFocusRing(nullptr, {});
    item_ = item;
    serial_ = liveItemSerial(item);
    ringOn_ = nullptr;
    if (!item || !item->display || !item->display->window)
        return;
    ringOn_ = item->display;
    ringOn_->window->setFocusRing(item, keyboardRect(*item));
    if (item->isType(ItemType::Edit) && item->control)
        item->control->setFocus();
    else
        appServices().focusMainWindow();
}

void KeyboardFocus::move(bool forward) {
    const std::vector<Item*> stops = tabStops();
    if (stops.empty()) {
        focusOn(nullptr);
        return;
    }
    const auto at = std::find(stops.begin(), stops.end(), focused());
    const std::size_t count = stops.size();
    std::size_t next = 0;
    if (at == stops.end())
        next = forward ? 0 : count - 1;
    else {
        const std::size_t index = static_cast<std::size_t>(at - stops.begin());
        next = forward ? (index + 1) % count : (index + count - 1) % count;
    }
    focusOn(stops[next]);
}

bool KeyboardFocus::keyDown(VirtualKey key, bool shift) {
    if (pageOnScreen().pageBuilding)
        return false;
    if (key == VirtualKey::Tab) {
        move(!shift);
        return true;
    }
    Item* item = focused();
    if (!item)
        return false;
    if (key == VirtualKey::Space || key == VirtualKey::Return) {
        pressItem(*item);
        return true;
    }
    if (isArrow(key)) {
        // Only a slider has a use for the arrows; elsewhere they turn the page.
        if (!item->isType(ItemType::Slider) || !item->display->window)
            return false;
        displayWindowProc()->scrollRequest(*item->display->window, arrowRequest(key),
                                           item->control.get());
        return true;
    }
    if (key == VirtualKey::Escape && item->isType(ItemType::Edit)) {
        appServices().focusMainWindow();
        return true;
    }
    return false;
}

} // namespace lorvenna

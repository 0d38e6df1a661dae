// One display of the page shown: its items, its pen cache and its window.
#include "items/Display.h"

#include "items/Item.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"

namespace lorvenna {

Display::Display() = default;

Display::~Display() {
    // Items first: they may still hold controls and timers of the window, and borrow pens.
    clearItems();
    pens.clear();
    pageOnScreen().answer.forgetDisplay(this);
    surface = nullptr;
    windowSurface = nullptr;
    window.reset();
}

const Pen* Display::getPen(int width, Color colour) {
    for (const PenCacheEntry& entry : pens) {
        if (entry.width == width && entry.colour == colour)
            return entry.pen.get();
    }
    PenCacheEntry entry;
    entry.width = width;
    entry.colour = colour;
    entry.pen = std::make_unique<Pen>(Pen{width, colour, false});
    pens.push_back(std::move(entry));
    return pens.back().pen.get();
}

void Display::appendItem(Item* item) {
    Item** tail = &items;
    while (*tail)
        tail = &(*tail)->next;
    *tail = item;
}

void Display::clearItems() {
    Item* item = items;
    items = nullptr;
    while (item) {
        Item* following = item->next;
        delete item;
        item = following;
    }
}

ShownDisplays shownDisplays() {
    Display* const* slots = pageOnScreen().displays;
    return {slots + 1, slots + kDisplaySlots};
}

bool isShown(const Display* display) {
    if (!display)
        return false;
    for (const Display* shown : shownDisplays()) {
        if (shown == display)
            return true;
    }
    return false;
}

} // namespace lorvenna

// One display of the page shown: a bordered child window of the main window with its items.
#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lorvenna {

class ChildWindow;
class Item;
class Surface;

struct PenCacheEntry {
    int width = 0;
    Color colour;
    std::unique_ptr<Pen> pen;
};

struct Display {
    Display();
    ~Display(); // deletes the items, the pens and the window
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // The pen of that width and colour from the cache, made and cached on first use.
    const Pen* getPen(int width, Color colour);
    // Puts item at the end of the item list; the display owns it from then on.
    void appendItem(Item* item);
    // Deletes every item of the list.
    void clearItems();

    std::string name;
    std::int32_t buffered = 0;
    Item* items = nullptr; // owned list in definition order
    std::vector<PenCacheEntry> pens;
    std::unique_ptr<ChildWindow> window;
    Surface* surface = nullptr;       // where items draw
    Surface* windowSurface = nullptr; // the screen when buffered; else the copy surface
    Rect clientRect;
    std::uint8_t needsRepaint = 0;
    std::uint8_t reused = 0;
};

// Whether display is one of the displays of the page shown (nullptr never is).
bool isShown(const Display* display);

// The displays of the page shown, slots 1 to 9 in order, empty slots skipped:
//   for (Display* display : shownDisplays()) ...
class ShownDisplays {
public:
    class Iterator {
    public:
        Iterator(Display* const* slot, Display* const* end) : slot_(slot), end_(end) {
            skipEmpty();
        }
        Display* operator*() const { return *slot_; }
        Iterator& operator++() {
            ++slot_;
            skipEmpty();
            return *this;
        }
        bool operator==(const Iterator& other) const { return slot_ == other.slot_; }

    private:
        void skipEmpty() {
            while (slot_ != end_ && !*slot_)
                ++slot_;
        }
        Display* const* slot_;
        Display* const* end_;
    };

    ShownDisplays(Display* const* first, Display* const* end) : first_(first), end_(end) {}
    Iterator begin() const { return {first_, end_}; }
    Iterator end() const { return {end_, end_}; }

private:
    Display* const* first_;
    Display* const* end_;
};

ShownDisplays shownDisplays();

} // namespace lorvenna

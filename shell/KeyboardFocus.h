// The keyboard on the page: Tab and Shift+Tab go from one item a student can use to the
// next in reading order, with a ring around it; Space and Enter press it; the arrow keys
// move a slider that has the ring; Escape leaves a number field.
#pragma once

#include "items/Codes.h"

#include <cstdint>

namespace lorvenna {

class Item;
struct Display;

class KeyboardFocus {
public:
    // Takes the keys above and says so; any other key (or a key with nothing for it to do)
    // is left to the controller, so the page keys work as ever.
    bool keyDown(VirtualKey key, bool shift);
    // The item with the ring, or nullptr (none yet, or it has gone with its page).
    Item* focused() const;
    // Puts the ring on item (nullptr: takes it away); a number field gets the keyboard.
    void focusOn(Item* item);

private:
    void move(bool forward);

    Item* item_ = nullptr;
    std::uint64_t serial_ = 0;
    Display* ringOn_ = nullptr;
};

} // namespace lorvenna

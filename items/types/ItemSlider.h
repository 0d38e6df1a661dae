// The SLIDER item: a scroll bar the student drags to drive other items.
#pragma once

#include "items/Item.h"

namespace lorvenna {

// A horizontal (or VERTICAL) scroll bar of SIZE, with one position per STEP pixels along
// it. Every move of the thumb sends the change, not the position, along the outputs, times
// SCALE / STEP, so that receivers add up the motion. A dragged thumb sends its whole move
// once, when it is let go. The thumb never goes below MIN. Nothing is sent at page start.
class ItemSlider : public Item {
public:
    ItemSlider();

    Status acceptDefinition() override;
    bool EndDefinition() override;
    Status ReadCommand(const char* line) override;
    void Draw() override;
    bool Scroll(ScrollRequest request, Control* control) override;

    // The item's record of the bar: its range and where the thumb is.
    struct ScrollState {
        int minimum = 0;
        int maximum = 0;
        int position = 0;
    };

    bool vertical = false;
    std::int32_t startPosition = 0; // POSITION: percent of the range
    double scale = 1.0;
    ScrollState scrollState;
};

} // namespace lorvenna

// What a display window shows, as assistive technology (a screen reader) is told about it:
// one node for each thing on it worth reading or using, in reading order. The window
// procedure describes its window's nodes; platform/QtAccessibility turns them into the
// toolkit's accessibility interfaces.
#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lorvenna {

class Control;

enum class AccessibleRole { StaticText, PushButton, EditableText, Image, Slider };

struct AccessibleNode {
    // The thing described (an item): the same key from one description to the next, with a
    // serial that tells a new thing at an old address from the old one.
    const void* key = nullptr;
    std::uint64_t serial = 0;
    AccessibleRole role = AccessibleRole::StaticText;
    std::string name;
    std::string description;
    Rect rect; // client coordinates
    // The child control that shows the node, if any: it is asked for its own state.
    Control* control = nullptr;
    bool focusable = false;
    // Sliders: the thumb's position and its range, in positions.
    int value = 0;
    int minimum = 0;
    int maximum = 0;
};

// A display window as a whole: a named group of nodes.
struct AccessibleView {
    std::string name;
    std::vector<AccessibleNode> nodes;
};

} // namespace lorvenna

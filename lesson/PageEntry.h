// One page of the lesson index: its number, its displays and its answer counters.
#pragma once

#include <cstdint>
#include <string>

namespace lorvenna {

struct Display;

inline constexpr int kDisplaySlots = 10; // slots 1 to 9; slot 0 stays empty

struct PageEntry {
    PageEntry* next = nullptr;
    std::int32_t pageNumber = 0;
    std::uint8_t isCurrent = 0;
    std::int32_t completedCount = 0;
    std::int32_t rightCount = 0;
    std::int32_t displayOffset[kDisplaySlots] = {};
    std::string displayName[kDisplaySlots];     // the first empty slot ends the page's list
    Display* displayObject[kDisplaySlots] = {}; // not owned
};

} // namespace lorvenna

// One answer key of a question item: which item answers it, and how.
#pragma once

#include <cstdint>

namespace lorvenna {

class Item;

// Key kinds: bits of an item's keyKinds and of a key entry's kind.
inline constexpr std::int32_t kKeyButton = 0x1;
inline constexpr std::int32_t kKeyShow = 0x2;
inline constexpr std::int32_t kKeyAnd = 0x8;
inline constexpr std::int32_t kKeyNum = 0x10;
inline constexpr std::int32_t kKeyAutoTurn = 0x8000000; // bit 27: turn the page after the pause

inline constexpr int kMaxKeys = 30;
inline constexpr int kAnswererTitleSize = 36; // 35 characters and the terminator

struct KeyEntry {
    Item* answerer = nullptr; // found when the page starts; not owned
    std::int32_t kind = 0;
    char answererTitle[kAnswererTitleSize] = {};
    double expected = 0.0;  // KEYNUM: the right number
    double tolerance = 0.0; // KEYNUM: tolerance in percent
    bool picked = false;    // KEYAND: this entry's item has been picked
};

} // namespace lorvenna

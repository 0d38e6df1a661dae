// KEY lines of an ITEM block: each names an item that is a right answer, or the right number.
#include "items/KeyReader.h"

#include "items/Item.h"
#include "platform/FixedText.h"
#include "platform/LineMatcher.h"

#include <cstring>

namespace lorvenna {

namespace {

struct KeyPattern {
    const char* keyword;
    std::int32_t kind;
    bool withNumbers; // title, expected value and tolerance
};

// Tried in this order; the first that matches is taken.
constexpr KeyPattern kKeyPatterns[] = {
    {"KEYBUTTON", kKeyButton, false},
    {"KEYAND", kKeyAnd, false},
    {"KEYNUM", kKeyNum, true},
    {"KEYSHOW", kKeyShow, false},
};

} // namespace

bool ReadKeyCommand(Item& item, const char* line) {
    if (std::strstr(line, "KEYAUTOTURN")) {
        item.keyKinds |= kKeyAutoTurn;
        return true;
    }
    for (const KeyPattern& pattern : kKeyPatterns) {
        LineMatcher matcher(line);
        std::string title;
        double expected = 0.0;
        double tolerance = 0.0;
        if (!matcher.keyword(pattern.keyword) || !matcher.word(title))
            continue;
        if (pattern.withNumbers && (!matcher.number(expected) || !matcher.number(tolerance)))
            continue;

        // A cut title could name another item, so a title too long for the entry is refused.
        if (title.size() > static_cast<std::size_t>(kAnswererTitleSize - 1))
            return false;
        item.keyKinds |= pattern.kind;
        if (item.keyCount >= kMaxKeys)
            return false;
        KeyEntry& entry = item.keys[item.keyCount];
        entry = KeyEntry{};
        entry.kind = pattern.kind;
        setText(entry.answererTitle, title);
        entry.expected = expected;
        entry.tolerance = tolerance;
        ++item.keyCount;
        return true;
    }
    return false;
}

} // namespace lorvenna

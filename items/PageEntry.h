// One page of the lesson index: its number, its displays and its answer counters.
#pragma once

#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>

namespace lorvenna {

struct Display;

inline constexpr int kDisplaySlots = 10; // slots 1 to 9; slot 0 stays empty
// The displayOffset of a display whose block the file lacks, when reading goes on after
// errors (ReadingRecovery): it reads as an empty display.
inline constexpr std::int32_t kNoBlock = -1;

// The display names of one page, kept in one text: a lesson has an entry for every page, and
// most pages name one or two short displays, which then need no memory of their own.
class DisplayNames {
public:
    // The name in the slot; empty when the slot is not set.
    std::string_view operator[](int slot) const {
        return std::string_view(text_).substr(offsetOf(slot), length_[slot]);
    }
    // Names of more than 255 characters are refused by the index before they come here.
    void set(int slot, std::string_view name) {
        assert(name.size() <= 0xFF);
        text_.replace(offsetOf(slot), length_[slot], name);
        length_[slot] = static_cast<std::uint8_t>(name.size());
    }

private:
    std::size_t offsetOf(int slot) const {
        std::size_t offset = 0;
        for (int i = 0; i < slot; ++i)
            offset += length_[i];
        return offset;
    }

    std::string text_;
    std::uint8_t length_[kDisplaySlots] = {};
};

struct PageEntry {
    PageEntry* next = nullptr;
    std::int32_t pageNumber = 0;
    std::uint8_t isCurrent = 0;
    std::int32_t completedCount = 0;
    std::int32_t rightCount = 0;
    // In a test, the page's questions already answered, by their place among the questions
    // of the page (bit k: the k-th); the first kRememberedQuestions of a page are remembered.
    static constexpr int kRememberedQuestions = 64;
    std::uint64_t closedQuestions = 0;
    std::int32_t displayOffset[kDisplaySlots] = {};
    DisplayNames displayName;                   // the first empty slot ends the page's list
    Display* displayObject[kDisplaySlots] = {}; // not owned

    bool questionClosed(int place) const {
        return place >= 0 && place < kRememberedQuestions && ((closedQuestions >> place) & 1u) != 0;
    }
    void closeQuestion(int place) {
        if (place >= 0 && place < kRememberedQuestions)
            closedQuestions |= std::uint64_t{1} << place;
    }

    // The number of slots the page uses, from 1 up to its first empty name.
    int namedSlots() const {
        int count = 0;
        while (count + 1 < kDisplaySlots && !displayName[count + 1].empty())
            ++count;
        return count;
    }
};

} // namespace lorvenna

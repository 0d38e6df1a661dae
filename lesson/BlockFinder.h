// Finding the display blocks that the page section of a lesson file names, while the file is
// read on once.
#pragma once

#include "items/PageEntry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

// Each DISPLAY line of the page section waits for the first block header of its name (ignoring
// case) that follows it, unless a line holding "END LESSON" comes first: what reading forward
// line by line from that line would find, found for all of them in the one pass that reads
// the index. The header's position goes into the page entry's displayOffset.
class BlockFinder {
public:
    // A DISPLAY line of the page section at position at, for slot of entry, whose name is
    // already in the entry. Call it after noteLine for the same line.
    void wait(PageEntry* entry, int slot, long at);
    // Every line of the file after the title, in order; header is the name of a block header
    // line (" DISPLAY %s %ld"), empty for other lines.
    void noteLine(long position, const char* line, int length, std::string_view header);

    struct Waiting {
        PageEntry* entry;
        long at;                 // the position of the DISPLAY line
        std::uint64_t hash;      // of the name, folded
        std::uint32_t textStart; // of the name in text_
        std::uint32_t next;      // the next DISPLAY line waiting for the same name
        std::uint32_t endsSeen;  // "END LESSON" lines before it: one more, and it is not found
        std::uint8_t textLength;
        std::uint8_t slot;
        bool found;
    };
    // The first DISPLAY line, in file order, whose block was not found; nullptr if none.
    const Waiting* firstMissing() const;
    // Every such line, in file order.
    std::vector<const Waiting*> allMissing() const;

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    struct Name {
        std::uint64_t hash;
        std::uint32_t textStart; // in text_, where the first DISPLAY line of the name put it
        std::uint32_t textLength;
        std::uint32_t firstWaiting = kNone;
        std::uint32_t lastWaiting = kNone;
    };

    std::string_view textOf(std::uint32_t start, std::uint32_t length) const {
        return std::string_view(text_).substr(start, length);
    }
    // Files the DISPLAY lines read since the last header under their names. Done in one go
    // before a header is looked up (mostly once, after the page section), so that the table
    // is made at its size once and its slots can be fetched ahead.
    void fileWaiting();
    // The index of the name in names_, kNone if no DISPLAY line named it yet.
    std::uint32_t find(std::string_view name);
    // The slot holding the name, or the empty one where it would go.
    std::size_t slotOf(std::string_view name, std::uint64_t hash) const;
    void growTo(std::size_t names);

    std::vector<Waiting> waiting_;
    std::size_t filed_ = 0;            // waiting_ before it are filed under their names
    std::vector<Name> names_;          // in the order the DISPLAY lines first name them
    std::string text_;                 // the names of the DISPLAY lines one after another
    std::vector<std::uint64_t> slots_; // open addressing over names_, at most half full:
                                       // the hash's high half, then the index
    int slotBits_ = 0;
    std::uint32_t expected_ = 0; // the name whose block most likely comes next
    std::uint32_t endsSeen_ = 0;
};

} // namespace lorvenna

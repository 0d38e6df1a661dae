// Where things stand in a lesson file: line numbers of byte positions, the display block
// headers, the line that sets the question total, and the ITEM lines of a block. The
// player's readers do the reading; this only finds the lines to point at.
#pragma once

#include "items/Item.h"

#include <string>
#include <vector>

namespace lorvenna {

struct BlockHeader {
    std::string name;
    long position = 0;
    bool placed = false; // the header gives x, y, width and height
    long x = 0, y = 0, width = 0, height = 0;
};

class LessonSource {
public:
    // Reads the file by its program name ("LSNS\01-02.LSN"); an unreadable file has no lines.
    explicit LessonSource(const std::string& name);

    // The 1-based line holding the byte at position: line ends are CR LF, LF or a lone CR.
    // 0 for a position below 0.
    long lineAt(long position) const;

    // The headers of the display blocks, in file order: after the page section and before
    // "END LESSON", as the index's search finds them.
    const std::vector<BlockHeader>& blocks() const { return blocks_; }
    // The page section's last TOTAL or TEST line, the one that sets the question total; -1
    // when there is none.
    long totalLine() const { return totalLine_; }

    // The position of the ITEM line of item, read from the block at blockPosition: the n-th
    // ITEM line carrying the item's title for the n-th item of that title. -1 if not found.
    long itemPosition(long blockPosition, const Item& item) const;

    // The line of the item's block (from its ITEM line to its "}") whose OUTPUT, ENDOUTPUT or
    // OPERATOR sends to target; the item's own line when there is none.
    long connectionLine(long blockPosition, const Item& item, const std::string& target) const;

private:
    std::string name_;
    std::vector<long> lineStarts_;
    std::vector<BlockHeader> blocks_;
    long totalLine_ = -1;
};

} // namespace lorvenna

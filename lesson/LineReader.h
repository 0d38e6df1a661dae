// Reading text files line by line, and the small helpers every reader and writer shares.
#pragma once

#include "platform/FileSystem.h"

#include <vector>

namespace lorvenna {

// Reads one line (the bytes up to the first CR or LF, at most limit of them) into
// destination, which holds at least limit + 1 bytes. Returns the line's length, or -1 at the
// end of the file, on failure, or when limit is not within 1..255. The run of CR and LF bytes
// after the line is consumed with it; a longer line comes in pieces of limit bytes.
int readLine(FileHandle file, char* destination, int limit);

// Where the line that a reader stopped on begins in its file: readLine notes the start of
// every line it returns, and a reader that fails on a line it read earlier points back at
// it. -1 before any line. Lets a checking tool name the line of a failure.
long lastLineStart();
void setLastLineStart(long position);

// Formats into a 256-byte buffer and writes the text as is (the format carries its own
// "\r\n"). Writes nothing and returns false when the result is empty or longer than 254.
bool writeFormattedLine(FileHandle file, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Case-sensitive substring search: the position of part in text, or nullptr.
const char* findText(const char* text, const char* part);

// Reads the lines of a file from its current position as readLine does (the same lines, cut
// at the same places, and the same positions after each), from a buffer filled by large
// sequential reads instead of a seek and a small read for every line.
class BufferedLineReader {
public:
    explicit BufferedLineReader(FileHandle file);

    // As readLine(file, destination, limit).
    int read(char* destination, int limit);
    // Where the file would stand after the lines read so far; -1 if that is not known.
    long position() const { return base_ < 0 ? -1 : base_ + static_cast<long>(next_); }

private:
    // Makes at least wanted bytes from next_ on available, or all there are; false on failure.
    bool fill(std::size_t wanted);

    FileHandle file_;
    std::vector<char> buffer_;
    long base_;              // file position of buffer_[0]
    std::size_t next_ = 0;   // the first byte not yet read as a line
    std::size_t filled_ = 0; // bytes of buffer_ holding file data
    bool atEnd_ = false;
};

} // namespace lorvenna

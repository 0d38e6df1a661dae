// Reading text files line by line, and the small helpers every reader and writer shares.
#pragma once

#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace lorvenna {

// Reads one line (the bytes up to the first CR or LF, at most limit of them) into
// destination, which holds at least limit + 1 bytes. Returns the line's length, or -1 at the
// end of the file, on failure, or when limit is not within 1..255. The run of CR and LF bytes
// after the line is consumed with it; a longer line comes in pieces of limit bytes.
int readLine(FileHandle file, char* destination, int limit);
// As readLine, and lineStart becomes the file position of the line returned (it is left as
// it was when there is none), so that a reader can name the line it failed on.
int readLine(FileHandle file, char* destination, int limit, long& lineStart);

// The 1-based number of the line that begins at position: 1 plus the line ends before it,
// where a CR LF pair, a lone LF and a lone CR each end one line. 0 for a position below 0 or
// a file that cannot be read. The file is left where it stood.
long lineNumberAt(FileHandle file, long position);

// Formats into a 256-byte buffer and writes the text as is (the format carries its own
// "\r\n"). Writes nothing and returns false when the result is empty or longer than 254.
bool writeFormattedLine(FileHandle file, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Case-sensitive substring search: the position of part in text, or nullptr.
const char* findText(const char* text, const char* part);

// A text that readers look for anywhere in a line, such as "END LESSON", with the places of
// each of its bytes in it.
struct Marker {
    const char* text;
    int length;                     // at most 16
    std::uint16_t places[256] = {}; // bit i: text[i] is that byte

    constexpr explicit Marker(const char* marker)
        : text(marker), length(static_cast<int>(std::char_traits<char>::length(marker))) {
        for (int i = 0; i < length; ++i)
            places[static_cast<unsigned char>(marker[i])] |= static_cast<std::uint16_t>(1u << i);
    }
};

// findText(line, marker.text) != nullptr for a terminated line of the given length. Wherever
// the marker stands it covers one of every marker-length-th bytes, so only those are looked
// at, and only where one of them could be part of the marker is the line compared.
inline bool holdsMarker(const char* line, int length, const Marker& marker) {
    for (int i = marker.length - 1; i < length; i += marker.length) {
        for (unsigned places = marker.places[static_cast<unsigned char>(line[i])]; places;
             places &= places - 1) {
            const int start = i - std::countr_zero(places);
            if (start + marker.length <= length &&
                std::memcmp(line + start, marker.text, static_cast<std::size_t>(marker.length)) ==
                    0)
                // The search stops at a zero byte, which the length does not.
                return findText(line, marker.text) != nullptr;
        }
    }
    return false;
}

// Reads the lines of a file from its current position as readLine does (the same lines, cut
// at the same places, and the same positions after each), from a buffer filled by large
// sequential reads instead of a seek and a small read for every line.
class BufferedLineReader {
public:
    explicit BufferedLineReader(FileHandle file);

    // As readLine(file, destination, limit).
    int read(char* destination, int limit);
    // As read, without the copy: line points at the terminated line (the empty text at the
    // end of the file, nullptr on failure), which stays valid until the next read.
    int readInPlace(const char*& line, int limit);
    // Where the file would stand after the lines read so far; -1 if that is not known.
    long position() const { return base_ < 0 ? -1 : base_ + static_cast<long>(next_); }
    // Once read to the end: every byte read was UTF-8, so the file is read as UTF-8.
    bool readUtf8() { return text_.finish(); }

private:
    // Makes at least wanted bytes from next_ on available, or all there are; false on failure.
    bool fill(std::size_t wanted) { return filled_ - next_ >= wanted || atEnd_ || refill(wanted); }
    bool refill(std::size_t wanted);

    FileHandle file_;
    bool valid_;
    std::vector<char> buffer_;
    long base_;              // file position of buffer_[0]
    std::size_t next_ = 0;   // the first byte not yet read as a line
    std::size_t filled_ = 0; // bytes of buffer_ holding file data
    bool atEnd_ = false;
    char piece_[256] = {}; // a line with no line end after it, terminated
    Utf8Validator text_;   // every byte as it is read
};

} // namespace lorvenna

// Reading text files line by line, and the small helpers every reader and writer shares.
#pragma once

#include "platform/FileSystem.h"

namespace lorvenna {

// Reads one line (the bytes up to the first CR or LF, at most limit of them) into
// destination, which holds at least limit + 1 bytes. Returns the line's length, or -1 at the
// end of the file, on failure, or when limit is not within 1..255. The run of CR and LF bytes
// after the line is consumed with it; a longer line comes in pieces of limit bytes.
int readLine(FileHandle file, char* destination, int limit);

// Formats into a 256-byte buffer and writes the text as is (the format carries its own
// "\r\n"). Writes nothing and returns false when the result is empty or longer than 254.
bool writeFormattedLine(FileHandle file, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Case-sensitive substring search: the position of part in text, or nullptr.
const char* findText(const char* text, const char* part);

} // namespace lorvenna

// Reading text files line by line, and the small helpers every reader and writer shares.
#include "lesson/LineReader.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace lorvenna {

namespace {

constexpr int kWorkBufferSize = 256;
constexpr int kMaxLimit = 255;
constexpr int kMaxWrittenLine = 254;

bool isLineEnd(char byte) {
    return byte == '\r' || byte == '\n';
}

} // namespace

int readLine(FileHandle file, char* destination, int limit) {
    if (isInvalid(file) || limit < 1 || limit > kMaxLimit)
        return -1;

    long const start = filePosition(file);
    if (start < 0)
        return -1;

    char buffer[kWorkBufferSize];
    long const count = readBytes(file, buffer, limit);
    if (count < 0)
        return -1;
    if (count == 0) {
        destination[0] = '\0';
        return -1;
    }

    int end = 0;
    while (end < count && !isLineEnd(buffer[end]))
        ++end;

    std::memcpy(destination, buffer, static_cast<std::size_t>(end));
    destination[end] = '\0';

    // No line end among the bytes read: the file stays just after them, so a longer line
    // comes back in pieces of limit bytes.
    if (end == count)
        return end;

    // The whole run of CR and LF goes with the line, blank lines included.
    int runEnd = end;
    while (runEnd < count && isLineEnd(buffer[runEnd]))
        ++runEnd;
    if (!seekFile(file, start + runEnd))
        return -1;
    return end;
}

bool writeFormattedLine(FileHandle file, const char* format, ...) {
    char buffer[kWorkBufferSize];
    va_list arguments;
    va_start(arguments, format);
    int const length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);

    if (length <= 0 || length > kMaxWrittenLine)
        return false;
    return writeBytes(file, buffer, length) == length;
}

const char* findText(const char* text, const char* part) {
    return std::strstr(text, part);
}

} // namespace lorvenna

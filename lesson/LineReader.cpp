// Reading text files line by line, and the small helpers every reader and writer shares.
#include "lesson/LineReader.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace lorvenna {

namespace {

constexpr int kWorkBufferSize = 256;
constexpr int kMaxLimit = 255;
constexpr int kMaxWrittenLine = 254;
constexpr std::size_t kReadChunk = 64 * 1024;

long g_lastLineStart = -1;

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

    g_lastLineStart = start;
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

long lastLineStart() {
    return g_lastLineStart;
}

void setLastLineStart(long position) {
    g_lastLineStart = position;
}

BufferedLineReader::BufferedLineReader(FileHandle file)
    : file_(file), base_(isInvalid(file) ? -1 : filePosition(file)) {}

bool BufferedLineReader::fill(std::size_t wanted) {
    if (filled_ - next_ >= wanted || atEnd_)
        return true;
    // Keep what is not read yet at the front, then read on behind it.
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(next_));
    base_ += static_cast<long>(next_);
    filled_ -= next_;
    next_ = 0;
    buffer_.resize(std::max(filled_ + kReadChunk, wanted));
    while (filled_ < wanted && !atEnd_) {
        const long count =
            readBytes(file_, buffer_.data() + filled_, static_cast<long>(buffer_.size() - filled_));
        if (count < 0)
            return false;
        if (count == 0)
            atEnd_ = true;
        filled_ += static_cast<std::size_t>(count);
    }
    return true;
}

int BufferedLineReader::read(char* destination, int limit) {
    if (isInvalid(file_) || base_ < 0 || limit < 1 || limit > kMaxLimit)
        return -1;
    if (!fill(static_cast<std::size_t>(limit)))
        return -1;
    const char* bytes = buffer_.data() + next_;
    const int count = static_cast<int>(std::min(filled_ - next_, static_cast<std::size_t>(limit)));
    if (count == 0) {
        destination[0] = '\0';
        return -1;
    }

    int end = 0;
    while (end < count && !isLineEnd(bytes[end]))
        ++end;
    std::memcpy(destination, bytes, static_cast<std::size_t>(end));
    destination[end] = '\0';

    // As readLine: the run of line ends is looked for only among the limit bytes it reads.
    int runEnd = end;
    while (runEnd < count && isLineEnd(bytes[runEnd]))
        ++runEnd;
    next_ += static_cast<std::size_t>(runEnd);
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

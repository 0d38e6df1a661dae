// Reading text files line by line, and the small helpers every reader and writer shares.
#include "platform/LineReader.h"

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lorvenna {

namespace {

constexpr int kWorkBufferSize = 256;
constexpr int kMaxLimit = 255;
constexpr int kMaxWrittenLine = 254;
constexpr std::size_t kReadChunk = 64 * 1024;

bool isLineEnd(char byte) {
    return byte == '\r' || byte == '\n';
}

// The index of the first CR or LF among count bytes, or count. Looks at eight bytes at a time:
// a byte equal to CR or LF becomes zero under the XOR, and the lowest byte whose high bit
// survives the subtraction is the first zero byte (bytes above it may be flagged wrongly).
int firstLineEnd(const char* bytes, int count) {
    int i = 0;
#ifdef __SSE2__
    // Sixteen bytes at a time where the processor compares them at once.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= count; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const int ends =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf)));
        if (ends)
            return i + std::countr_zero(static_cast<unsigned>(ends));
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
        for (; i + 8 <= count; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            const std::uint64_t cr = word ^ (kOnes * '\r');
            const std::uint64_t lf = word ^ (kOnes * '\n');
            const std::uint64_t zeros = (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighs;
            if (zeros)
                return i + std::countr_zero(zeros) / 8;
        }
    }
    while (i < count && !isLineEnd(bytes[i]))
        ++i;
    return i;
}

} // namespace

int readLine(FileHandle file, char* destination, int limit) {
    long lineStart = -1;
    return readLine(file, destination, limit, lineStart);
}

int readLine(FileHandle file, char* destination, int limit, long& lineStart) {
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

    lineStart = start;
    const int end = firstLineEnd(buffer, static_cast<int>(count));

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

long lineNumberAt(FileHandle file, long position) {
    if (position < 0 || isInvalid(file))
        return 0;
    const long stood = filePosition(file);
    if (stood < 0 || !seekFile(file, 0))
        return 0;
    long line = 1;
    long offset = 0;
    bool afterCr = false;
    char buffer[4096];
    while (offset < position) {
        const long wanted = std::min<long>(static_cast<long>(sizeof buffer), position - offset);
        const long got = readBytes(file, buffer, wanted);
        if (got <= 0)
            break;
        for (long i = 0; i < got; ++i) {
            const char c = buffer[i];
            // The LF of a CR LF pair ends no line of its own.
            if (c == '\r' || (c == '\n' && !afterCr))
                ++line;
            afterCr = c == '\r';
        }
        offset += got;
    }
    seekFile(file, stood);
    return line;
}

BufferedLineReader::BufferedLineReader(FileHandle file)
    : file_(file), base_(isInvalid(file) ? -1 : filePosition(file)) {
    valid_ = base_ >= 0;
}

bool BufferedLineReader::refill(std::size_t wanted) {
    // Keep what is not read yet at the front, then read on behind it. Less than a line's
    // limit is kept, so a chunk always fits behind it.
    if (buffer_.empty())
        buffer_.resize(kReadChunk + kWorkBufferSize);
    std::memmove(buffer_.data(), buffer_.data() + next_, filled_ - next_);
    base_ += static_cast<long>(next_);
    filled_ -= next_;
    next_ = 0;
    while (filled_ < wanted && !atEnd_) {
        const long count =
            readBytes(file_, buffer_.data() + filled_, static_cast<long>(buffer_.size() - filled_));
        if (count < 0)
            return false;
        if (count == 0)
            atEnd_ = true;
        text_.feed(buffer_.data() + filled_, static_cast<std::size_t>(count));
        filled_ += static_cast<std::size_t>(count);
    }
    return true;
}

int BufferedLineReader::readInPlace(const char*& line, int limit) {
    line = nullptr;
    if (!valid_ || limit < 1 || limit > kMaxLimit)
        return -1;
    if (!fill(static_cast<std::size_t>(limit)))
        return -1;
    char* bytes = buffer_.data() + next_;
    const int count = static_cast<int>(std::min(filled_ - next_, static_cast<std::size_t>(limit)));
    if (count == 0) {
        line = "";
        return -1;
    }

    const int end = firstLineEnd(bytes, count);
    // As readLine: the run of line ends is looked for only among the limit bytes it reads.
    int runEnd = end;
    while (runEnd < count && isLineEnd(bytes[runEnd]))
        ++runEnd;
    next_ += static_cast<std::size_t>(runEnd);

    // A line end read with the line is not read again, so the terminator can take its place;
    // otherwise the byte after the line belongs to the next one.
    if (end < count) {
        bytes[end] = '\0';
        line = bytes;
        return end;
    }
    std::memcpy(piece_, bytes, static_cast<std::size_t>(end));
    piece_[end] = '\0';
    line = piece_;
    return end;
}

int BufferedLineReader::read(char* destination, int limit) {
    const char* line = nullptr;
    const int length = readInPlace(line, limit);
    if (line)
        std::memcpy(destination, line, static_cast<std::size_t>(std::max(length, 0)) + 1);
    return length;
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

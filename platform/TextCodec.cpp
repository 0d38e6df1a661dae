// Reading and writing texts in UTF-8 or in the Western code page.
#include "platform/TextCodec.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lorvenna {

namespace {

// The code points of 0x80..0x9F in the Western code page; the five bytes it leaves
// undefined keep their own values, as the platform's converters do.
constexpr std::array<char32_t, 32> kWestern80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The length of the well-formed sequence at bytes[i], 0 when there is none; an incomplete
// sequence cut by the end gives -1.
int sequenceLength(const unsigned char* bytes, std::size_t size, std::size_t i) {
    const unsigned char lead = bytes[i];
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    for (int k = 1; k < length; ++k) {
        if (i + static_cast<std::size_t>(k) >= size)
            return -1;
        const unsigned char next = bytes[i + static_cast<std::size_t>(k)];
        const unsigned char from = k == 1 ? low : 0x80;
        const unsigned char to = k == 1 ? high : 0xBF;
        if (next < from || next > to)
            return 0;
    }
    return length;
}

} // namespace

bool isValidUtf8(std::string_view bytes, bool mayBeCut) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < bytes.size();) {
        const int length = sequenceLength(data, bytes.size(), i);
        if (length < 0)
            return mayBeCut;
        if (length == 0)
            return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

bool isAscii(std::string_view bytes) {
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return false;
    }
    return true;
}

std::string westernToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x80)
            out += byte;
        else
            appendUtf8(out, b < 0xA0 ? kWestern80[b - 0x80] : b);
    }
    return out;
}

bool utf8ToWestern(std::string_view text, std::string& western) {
    western.clear();
    western.reserve(text.size());
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        const int length = sequenceLength(data, text.size(), i);
        if (length <= 0)
            return false;
        char32_t c = length == 1 ? data[i] : data[i] & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k)
            c = (c << 6) | (data[i + static_cast<std::size_t>(k)] & 0x3F);
        i += static_cast<std::size_t>(length);
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            western += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (std::size_t k = 0; k < kWestern80.size() && !found; ++k) {
            if (kWestern80[k] == c) {
                western += static_cast<char>(0x80 + k);
                found = true;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

std::string decodeText(std::string_view bytes, bool mayBeCut) {
    if (isValidUtf8(bytes, mayBeCut))
        return std::string(bytes.substr(0, utf8CutLength(bytes, bytes.size())));
    return westernToUtf8(bytes);
}

std::size_t utf8CutLength(std::string_view text, std::size_t n) {
    if (n >= text.size())
        n = text.size();
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    // Back to the lead byte of the sequence the cut falls in, if it falls in one.
    for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
        const unsigned char byte = data[n - back];
        if (byte < 0x80)
            return n;
        if (byte >= 0xC0) {
            const int length = sequenceLength(data, text.size(), n - back);
            // A sequence that runs past the cut, or that the end cuts short, goes whole.
            return length < 0 || length > static_cast<int>(back) ? n - back : n;
        }
    }
    return n;
}

void Utf8Validator::bad(long offset) {
    if (utf8_)
        firstBad_ = offset;
    utf8_ = false;
}

void Utf8Validator::feed(const char* part, std::size_t count) {
    // A sequence begun in the last part is completed with the first bytes of this one.
    const std::size_t before = carriedCount_; // bytes of the last part
    std::size_t taken = 0;
    while (carriedCount_ > 0 && taken < count) {
        carried_[carriedCount_++] = static_cast<unsigned char>(part[taken++]);
        const int length = sequenceLength(carried_, carriedCount_, 0);
        if (length < 0 && carriedCount_ < sizeof carried_)
            continue;
        if (length > 0) {
            sequences_ = true;
            part += taken;
            count -= taken;
            fed_ += static_cast<long>(carriedCount_);
        } else {
            // The lead byte is bad; the bytes of this part after it are looked at again.
            bad(fed_);
            fed_ += static_cast<long>(before);
        }
        carriedCount_ = 0;
    }
    if (carriedCount_ > 0) // the part ended inside the sequence: it waits for the next
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(part);
    std::size_t i = 0;
    while (i < count) {
        // Eight plain ASCII bytes at a time.
        if (i + 8 <= count) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const int length = sequenceLength(bytes, count, i);
        if (length < 0) {
            carriedCount_ = count - i;
            std::memcpy(carried_, bytes + i, carriedCount_);
            break;
        }
        if (length == 0) {
            bad(fed_ + static_cast<long>(i));
            ++i;
            continue;
        }
        if (length > 1)
            sequences_ = true;
        i += static_cast<std::size_t>(length);
    }
    fed_ += static_cast<long>(count - carriedCount_);
}

bool Utf8Validator::finish() {
    // A sequence the end cuts short is not UTF-8.
    if (carriedCount_ > 0)
        bad(fed_);
    carriedCount_ = 0;
    return utf8_;
}

EncodingScan scanEncoding(FileHandle file) {
    EncodingScan scan;
    const long start = filePosition(file);
    if (start < 0)
        return scan;
    std::vector<char> buffer(64 * 1024);
    Utf8Validator validator;
    for (long got = readBytes(file, buffer.data(), static_cast<long>(buffer.size())); got != 0;
         got = readBytes(file, buffer.data(), static_cast<long>(buffer.size()))) {
        if (got < 0) {
            seekFile(file, start);
            return scan;
        }
        validator.feed(buffer.data(), static_cast<std::size_t>(got));
    }
    seekFile(file, start);
    scan.readable = true;
    scan.utf8 = validator.finish();
    scan.utf8Sequences = validator.sawSequences();
    scan.firstBadOffset = validator.firstBad();
    return scan;
}

bool fileIsUtf8(std::string_view name) {
    FileHandle file = openForReading(name);
    if (isInvalid(file))
        return false;
    const EncodingScan scan = scanEncoding(file);
    closeFile(file);
    return scan.readable && scan.utf8;
}

} // namespace lorvenna

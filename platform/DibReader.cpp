// Decoding picture files: headers, colour tables, masks, plain and run-length pixel rows.
#include "platform/DibReader.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <vector>

namespace lorvenna {

namespace {

// Compression field values.
constexpr std::uint32_t kPlainRows = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// Info header sizes with a meaning of their own.
constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kFirstLongHeader = 16; // 13 to 15 hold no whole field
constexpr std::uint32_t kHeaderWithMasks = 52;
// The other 64-byte header uses compression 3 for a fax coding, not for masks.
constexpr std::uint32_t kFaxHeader = 64;

// Where the fields sit in the file.
constexpr std::size_t kDeclaredSizeAt = 2;
constexpr std::size_t kPixelOffsetAt = 10;
constexpr std::size_t kInfoAt = kDibFileHeaderSize;

// Run-length escapes: a zero count followed by one of these.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfPicture = 1;
constexpr std::uint8_t kDelta = 2;

constexpr int kPaletteSize = 256;

// The first size bytes of a file; every read is checked against them.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::uint64_t size) : data_(data), size_(size) {}

    std::uint64_t size() const { return size_; }
    bool has(std::uint64_t at, std::uint64_t count) const {
        return at <= size_ && count <= size_ - at;
    }
    std::uint8_t u8(std::uint64_t at) const { return has(at, 1) ? data_[at] : 0; }
    std::uint16_t u16(std::uint64_t at) const {
        return static_cast<std::uint16_t>(u8(at) | (u8(at + 1) << 8));
    }
    std::uint32_t u32(std::uint64_t at) const {
        return std::uint32_t{u16(at)} | (std::uint32_t{u16(at + 2)} << 16);
    }
    const std::uint8_t* at(std::uint64_t offset) const { return data_ + offset; }

private:
    const std::uint8_t* data_;
    std::uint64_t size_;
};

// One colour channel described by a mask: the bits it covers and the scale to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t top = 0; // the largest value the channel can hold

    explicit Channel(std::uint32_t m) : mask(m) {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        top = mask >> shift;
    }
    int value(std::uint32_t pixel) const {
        if (top == 0)
            return 0;
        const std::uint64_t v = (pixel & mask) >> shift;
        return static_cast<int>((v * 255 + top / 2) / top);
    }
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0; // rows, whatever their order
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kPlainRows;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue
    std::uint64_t tableAt = 0;
    std::uint64_t tableCount = 0;
    int entrySize = 4;
    std::uint64_t rowsAt = 0;
};

bool validDepth(const Layout& l) {
    switch (l.compression) {
    case kPlainRows:
        return l.bitsPerPixel == 1 || l.bitsPerPixel == 4 || l.bitsPerPixel == 8 ||
               l.bitsPerPixel == 16 || l.bitsPerPixel == 24 || l.bitsPerPixel == 32;
    case kRle8:
        return l.bitsPerPixel == 8;
    case kRle4:
        return l.bitsPerPixel == 4;
    case kBitFields:
    case kAlphaBitFields:
        return l.bitsPerPixel == 16 || l.bitsPerPixel == 32;
    }
    // JPEG and PNG inside the file, and anything unknown.
    return false;
}

// Reads the headers of a file whose first bytes are known to be "BM" and whose declared size
// is known to fit what was read.
std::optional<Layout> readLayout(const Bytes& file) {
    Layout l;
    const std::uint32_t headerSize = file.u32(kInfoAt);
    if (headerSize < kCoreHeader || (headerSize > kCoreHeader && headerSize < kFirstLongHeader))
        return std::nullopt;
    if (!file.has(kInfoAt, headerSize))
        return std::nullopt;

    std::uint64_t coloursUsed = 0;
    if (headerSize == kCoreHeader) {
        // 16-bit sizes, rows always bottom-up, 3-byte colour entries.
        l.width = file.u16(kInfoAt + 4);
        l.height = file.u16(kInfoAt + 6);
        l.bitsPerPixel = file.u16(kInfoAt + 10);
        l.entrySize = 3;
    } else {
        l.width = static_cast<std::int32_t>(file.u32(kInfoAt + 4));
        const std::int64_t height = static_cast<std::int32_t>(file.u32(kInfoAt + 8));
        l.topDown = height < 0;
        l.height = height < 0 ? -height : height;
        l.bitsPerPixel = file.u16(kInfoAt + 14);
        if (headerSize >= 20)
            l.compression = file.u32(kInfoAt + 16);
        if (headerSize >= 36)
            coloursUsed = file.u32(kInfoAt + 32);
    }
    if (l.width <= 0 || l.height <= 0 || l.width > kMaxPictureSide || l.height > kMaxPictureSide ||
        l.width * l.height > kMaxPicturePixels)
        return std::nullopt;
    if (headerSize == kFaxHeader && l.compression == kBitFields)
        return std::nullopt;
    if (!validDepth(l))
        return std::nullopt;

    std::uint64_t afterHeader = kInfoAt + headerSize;
    switch (l.compression) {
    case kBitFields:
    case kAlphaBitFields:
        if (headerSize < kHeaderWithMasks || headerSize == kFaxHeader) {
            // The masks follow a short header, before any colour table.
            const std::uint64_t maskBytes = l.compression == kBitFields ? 12 : 16;
            if (!file.has(afterHeader, maskBytes))
                return std::nullopt;
            for (int i = 0; i < 3; ++i)
                l.masks[i] = file.u32(afterHeader + 4 * i);
            afterHeader += maskBytes;
        } else {
            for (int i = 0; i < 3; ++i)
                l.masks[i] = file.u32(kInfoAt + 40 + 4 * i);
        }
        break;
    default:
        l.masks = l.bitsPerPixel == 16 ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                       : std::array<std::uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
        break;
    }

    // Indexed depths have a full table unless the colours-used field says otherwise; the
    // deeper ones have none unless it names one.
    l.tableAt = afterHeader;
    if (l.bitsPerPixel <= 8)
        l.tableCount = coloursUsed != 0 ? coloursUsed : (std::uint64_t{1} << l.bitsPerPixel);
    else
        l.tableCount = coloursUsed;

    const std::uint64_t pixelOffset = file.u32(kPixelOffsetAt);
    if (headerSize == kCoreHeader && pixelOffset >= l.tableAt &&
        pixelOffset < l.tableAt + l.tableCount * l.entrySize) {
        // The core header has no colours-used field: writers of short tables say how short
        // by where the pixels start.
        l.tableCount = (pixelOffset - l.tableAt) / l.entrySize;
    }
    const std::uint64_t tableEnd = l.tableAt + l.tableCount * l.entrySize;
    if (l.tableCount > file.size() || tableEnd > file.size())
        return std::nullopt;

    // Pixels start where the file header says when that lies past the table inside the
    // file (a gap or a colour profile may come first); otherwise right after the table.
    l.rowsAt = pixelOffset > tableEnd && pixelOffset < file.size() ? pixelOffset : tableEnd;
    return l;
}

// The colours of indices 0 to 255. Indices past the table take colour 0, so no pixel reads
// beyond the table the file holds.
std::array<QRgb, kPaletteSize> readPalette(const Bytes& file, const Layout& l) {
    std::array<QRgb, kPaletteSize> palette;
    palette.fill(qRgb(0, 0, 0));
    const auto count = static_cast<int>(std::min<std::uint64_t>(l.tableCount, kPaletteSize));
    for (int i = 0; i < count; ++i) {
        const std::uint64_t at = l.tableAt + std::uint64_t(i) * l.entrySize;
        palette[i] = qRgb(file.u8(at + 2), file.u8(at + 1), file.u8(at));
    }
    if (count > 0)
        std::fill(palette.begin() + count, palette.end(), palette[0]);
    return palette;
}

QRgb* rowOf(QImage& image, const Layout& l, std::int64_t storedRow) {
    const std::int64_t y = l.topDown ? storedRow : l.height - 1 - storedRow;
    return reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
}

bool decodePlainRows(const Bytes& file, const Layout& l, QImage& image) {
    const std::int64_t bits = l.width * l.bitsPerPixel;
    const std::int64_t stride = (bits + 31) / 32 * 4;
    const std::int64_t rowBytes = (bits + 7) / 8;
    // The last row may go without its padding.
    if (!file.has(l.rowsAt, std::uint64_t(stride * (l.height - 1) + rowBytes)))
        return false;

    const auto palette = readPalette(file, l);
    const Channel red(l.masks[0]);
    const Channel green(l.masks[1]);
    const Channel blue(l.masks[2]);
    for (std::int64_t r = 0; r < l.height; ++r) {
        const std::uint8_t* in = file.at(l.rowsAt + std::uint64_t(r * stride));
        QRgb* out = rowOf(image, l, r);
        for (std::int64_t x = 0; x < l.width; ++x) {
            switch (l.bitsPerPixel) {
            case 1:
                out[x] = palette[(in[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                out[x] = palette[(in[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
                break;
            case 8:
                out[x] = palette[in[x]];
                break;
            case 16: {
                const std::uint32_t p = in[2 * x] | (in[2 * x + 1] << 8);
                out[x] = qRgb(red.value(p), green.value(p), blue.value(p));
                break;
            }
            case 24:
                out[x] = qRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
                break;
            case 32: {
                const std::uint8_t* q = in + 4 * x;
                const std::uint32_t p =
                    q[0] | (q[1] << 8) | (q[2] << 16) | (std::uint32_t{q[3]} << 24);
                out[x] = qRgb(red.value(p), green.value(p), blue.value(p));
                break;
            }
            }
        }
    }
    return true;
}

// Run-length rows into colour indices (pixels that no run reaches keep index 0). False when a
// run or a move leaves the picture.
bool decodeRuns(const Bytes& file, const Layout& l, std::vector<std::uint8_t>& indices) {
    const bool nibbles = l.compression == kRle4;
    std::int64_t x = 0;
    std::int64_t y = 0; // stored row
    std::uint64_t at = l.rowsAt;
    const auto put = [&](std::int64_t count, auto pixelAt) {
        if (y >= l.height || count > l.width - x)
            return false;
        std::uint8_t* out = indices.data() + y * l.width + x;
        for (std::int64_t i = 0; i < count; ++i)
            out[i] = pixelAt(i);
        x += count;
        return true;
    };
    while (file.has(at, 2)) {
        const std::uint8_t count = file.u8(at);
        const std::uint8_t second = file.u8(at + 1);
        at += 2;
        if (count > 0) {
            // An encoded run: RLE4 alternates the byte's high and low nibble.
            const auto pixel = [&](std::int64_t i) -> std::uint8_t {
                if (!nibbles)
                    return second;
                return i % 2 == 0 ? second >> 4 : second & 0x0F;
            };
            if (!put(count, pixel))
                return false;
            continue;
        }
        switch (second) {
        case kEndOfLine:
            x = 0;
            ++y;
            continue;
        case kEndOfPicture:
            return true;
        case kDelta:
            if (!file.has(at, 2))
                return true;
            x += file.u8(at);
            y += file.u8(at + 1);
            at += 2;
            if (x > l.width || y > l.height)
                return false;
            continue;
        default:
            break;
        }
        // An absolute run of `second` pixels, padded to a whole number of 16-bit words.
        const std::uint64_t bytes = nibbles ? (second + 1u) / 2 : second;
        if (!file.has(at, bytes))
            return false;
        const std::uint8_t* in = file.at(at);
        const auto pixel = [&](std::int64_t i) -> std::uint8_t {
            if (!nibbles)
                return in[i];
            return i % 2 == 0 ? in[i / 2] >> 4 : in[i / 2] & 0x0F;
        };
        if (!put(second, pixel))
            return false;
        at += (bytes + 1) / 2 * 2;
    }
    // Data that ends without its end-of-picture escape shows what it holds.
    return true;
}

bool decodeRunRows(const Bytes& file, const Layout& l, QImage& image) {
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(l.width * l.height), 0);
    if (!decodeRuns(file, l, indices))
        return false;
    const auto palette = readPalette(file, l);
    for (std::int64_t r = 0; r < l.height; ++r) {
        const std::uint8_t* in = indices.data() + r * l.width;
        QRgb* out = rowOf(image, l, r);
        for (std::int64_t x = 0; x < l.width; ++x)
            out[x] = palette[in[x]];
    }
    return true;
}

} // namespace

Picture decodeDib(const std::uint8_t* bytes, std::size_t size) {
    if (!bytes || size < kDibFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return Picture();
    const Bytes whole(bytes, size);
    const std::uint32_t declared = whole.u32(kDeclaredSizeAt);
    if (declared < kDibFileHeaderSize + kCoreHeader || declared > size)
        return Picture();
    const Bytes file(bytes, declared);

    const std::optional<Layout> layout = readLayout(file);
    if (!layout)
        return Picture();
    QImage image(static_cast<int>(layout->width), static_cast<int>(layout->height),
                 QImage::Format_RGB32);
    if (image.isNull())
        return Picture();
    const bool decoded = layout->compression == kRle8 || layout->compression == kRle4
                             ? decodeRunRows(file, *layout, image)
                             : decodePlainRows(file, *layout, image);
    return decoded ? Picture(image) : Picture();
}

} // namespace lorvenna

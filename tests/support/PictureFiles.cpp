// Picture files for tests.
#include "tests/support/PictureFiles.h"

namespace lorvenna {

namespace {

void put16(std::string& out, std::uint32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

std::string dibFile(const DibFields& f) {
    std::string info;
    put32(info, f.headerSize);
    if (f.headerSize == 12) {
        put16(info, std::uint32_t(f.width));
        put16(info, std::uint32_t(f.height));
        put16(info, 1);
        put16(info, f.bitsPerPixel);
    } else {
        put32(info, std::uint32_t(f.width));
        put32(info, std::uint32_t(f.height));
        put16(info, 1);
        put16(info, f.bitsPerPixel);
        put32(info, f.compression);
        put32(info, std::uint32_t(f.pixels.size()));
        put32(info, 2835);
        put32(info, 2835);
        put32(info, f.coloursUsed);
        put32(info, 0);
        if (f.headerSize >= 52) {
            for (std::size_t i = 0; i < 4; ++i)
                put32(info, i < f.masks.size() ? f.masks[i] : 0);
        }
        info.resize(f.headerSize, '\0');
    }
    if (f.headerSize < 52) {
        for (std::uint32_t mask : f.masks)
            put32(info, mask);
    }
    for (const Color& c : f.table) {
        info += char(c.b);
        info += char(c.g);
        info += char(c.r);
        if (f.headerSize != 12)
            info += '\0';
    }
    info += f.gap;
    std::string file = "BM";
    put32(file, std::uint32_t(14 + info.size() + f.pixels.size()));
    put32(file, 0);
    put32(file, std::uint32_t(14 + info.size()));
    return file + info + f.pixels;
}

std::string dibRows(const std::vector<std::vector<std::uint32_t>>& rows, int bitsPerPixel,
                    bool topDown) {
    std::string out;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& row = rows[topDown ? r : rows.size() - 1 - r];
        std::string packed;
        if (bitsPerPixel < 8) {
            const int perByte = 8 / bitsPerPixel;
            packed.assign((row.size() + perByte - 1) / perByte, '\0');
            for (std::size_t x = 0; x < row.size(); ++x) {
                const int shift = 8 - bitsPerPixel * (int(x % perByte) + 1);
                packed[x / perByte] = char(packed[x / perByte] | (row[x] << shift));
            }
        } else {
            for (std::uint32_t v : row) {
                for (int i = 0; i < bitsPerPixel / 8; ++i)
                    packed += char((v >> (8 * i)) & 0xFF);
            }
        }
        packed.resize((packed.size() + 3) / 4 * 4, '\0');
        out += packed;
    }
    return out;
}

std::string solidPicture(int width, int height, Color colour) {
    const std::uint32_t value = std::uint32_t(colour.r) << 16 | colour.g << 8 | colour.b;
    DibFields f;
    f.width = width;
    f.height = height;
    f.pixels = dibRows(std::vector(height, std::vector<std::uint32_t>(width, value)), 24, false);
    return dibFile(f);
}

} // namespace lorvenna

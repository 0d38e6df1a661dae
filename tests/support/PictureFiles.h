// Picture files for tests, written field by field so that each test can break one field.
#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lorvenna {

// The colours the picture tests draw with.
inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kGreen{0, 255, 0};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kYellow{255, 255, 0};

struct DibFields {
    std::uint32_t headerSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0; // negative: rows stored top-down
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    // Written inside a header of 52 bytes or more, else right after the header.
    std::vector<std::uint32_t> masks;
    std::vector<Color> table; // 3-byte entries after a 12-byte header, else 4-byte
    std::string gap;          // bytes between the table and the pixels
    std::string pixels;       // the rows as stored
};

// The whole file, with the declared size and the pixel offset filled in.
std::string dibFile(const DibFields& fields);

// Rows given top to bottom, packed as stored: each value is an index (1, 4, 8 bits) or the
// raw pixel (16 and 32 bits little-endian; 24 bits as 0xRRGGBB, stored blue first); every row
// padded to 4 bytes; bottom-up unless topDown.
std::string dibRows(const std::vector<std::vector<std::uint32_t>>& rows, int bitsPerPixel,
                    bool topDown);

// A whole 24-bit file of one colour.
std::string solidPicture(int width, int height, Color colour);

} // namespace lorvenna

// Our own reader of device-independent bitmap files: the file's header, colour table and
// pixel rows become a picture that the drawing layer only scales and draws.
#pragma once

#include "platform/Picture.h"

#include <cstddef>
#include <cstdint>

namespace lorvenna {

// The file header ("BM", declared size, two reserved words, pixel offset).
inline constexpr std::size_t kDibFileHeaderSize = 14;
// Pictures of more pixels, or wider or taller than this, are refused as damaged: 64
// megapixels is far beyond any lesson screen and keeps a decoded picture within 256 MB.
inline constexpr std::int64_t kMaxPicturePixels = 64LL * 1024 * 1024;
inline constexpr std::int64_t kMaxPictureSide = 65535;
// All the pictures the items of a lesson show at once (1 GB): a few bytes of run-length code
// can claim the largest picture, and a page may name many files.
inline constexpr std::int64_t kMaxPicturePixelsHeld = 4 * kMaxPicturePixels;
// No picture within the limits needs a longer file: 4 bytes a pixel, plus room for headers,
// colour tables and gaps before the pixels.
inline constexpr std::int64_t kMaxPictureFileSize = kMaxPicturePixels * 4 + 1024 * 1024;

// Decodes a whole picture file held in bytes: info headers of 12 (the old core header), 40,
// 52, 56, 108 and 124 bytes; 1, 4 and 8 bits a pixel with colour tables, 16 and 32 bits
// (plain or with colour masks), 24 bits; RLE8 and RLE4; rows stored bottom-up or top-down.
// Only the first "declared size" bytes are used, and every read stays within them. Returns a
// null picture for anything damaged or not understood; never reads a byte past size.
Picture decodeDib(const std::uint8_t* bytes, std::size_t size);

} // namespace lorvenna

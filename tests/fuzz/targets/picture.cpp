// Fuzz target: a picture file's bytes through our own reader. A picture that reads must have
// sane sides, and each of its corners must be readable.
#include "platform/DibReader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvenna;
    const Picture picture = decodeDib(data, size);
    if (picture.isNull())
        return 0;
    const int width = picture.width();
    const int height = picture.height();
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
        static_cast<std::int64_t>(width) * height > kMaxPicturePixels)
        std::abort();
    // Reading the corners touches the first and last rows the reader filled in.
    (void)picture.pixel(0, 0);
    (void)picture.pixel(width - 1, height - 1);
    return 0;
}

// The picture reader: run-length rows, where pixels start, colour tables and damaged files.
#include "platform/DibReader.h"

#include "tests/support/PictureFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

// Decodes from a buffer of exactly the file's size, so the sanitizers see any read past it.
Picture decode(const std::string& file) {
    const std::vector<std::uint8_t> bytes(file.begin(), file.end());
    return decodeDib(bytes.data(), bytes.size());
}

std::vector<std::vector<Color>> pixelsOf(const Picture& picture) {
    std::vector<std::vector<Color>> rows(picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            rows[y].push_back(picture.pixel(x, y));
    }
    return rows;
}

DibFields runLength(int width, int height, int bits, std::string stream) {
    DibFields f;
    f.width = width;
    f.height = height;
    f.bitsPerPixel = std::uint16_t(bits);
    f.compression = bits == 8 ? 1 : 2;
    f.table = {kBlack, kRed, kGreen, kBlue, kWhite};
    f.coloursUsed = 5;
    f.pixels = std::move(stream);
    return f;
}

void patch32(std::string& file, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        file[at + i] = char((value >> (8 * i)) & 0xFF);
}

} // namespace

TEST(DibReader, RunLengthRowsWithEveryEscape) {
    using S = std::string;
    // RLE8, bottom row first: a run, an odd absolute run with its pad byte, end of line; a
    // move right, a run, a move up and right, a run, end of picture.
    const Picture eight =
        decode(dibFile(runLength(6, 3, 8,
                                 S("\x03\x01\x00\x03\x02\x03\x02\x00\x00\x00"
                                   "\x00\x02\x02\x00\x02\x04\x00\x02\x00\x01\x02\x03\x00\x01",
                                   24))));
    EXPECT_EQ(pixelsOf(eight),
              (std::vector<std::vector<Color>>{{kBlack, kBlack, kBlack, kBlack, kBlue, kBlue},
                                               {kBlack, kBlack, kWhite, kWhite, kBlack, kBlack},
                                               {kRed, kRed, kRed, kGreen, kBlue, kGreen}}));

    // RLE4: runs alternate two nibbles; an absolute run of five nibbles takes three bytes and
    // one pad byte; the bottom-up rows may also be stored top-down.
    const S four("\x02\x12\x00\x02\x01\x00\x02\x33\x00\x00"
                 "\x00\x05\x31\x23\x10\x00\x00\x01",
                 18);
    const std::vector<std::vector<Color>> bottomUp{{kBlue, kRed, kGreen, kBlue, kRed},
                                                   {kRed, kGreen, kBlack, kBlue, kBlue}};
    EXPECT_EQ(pixelsOf(decode(dibFile(runLength(5, 2, 4, four)))), bottomUp);
    EXPECT_EQ(pixelsOf(decode(dibFile(runLength(5, -2, 4, four)))),
              (std::vector<std::vector<Color>>{bottomUp[1], bottomUp[0]}));

    // Data that ends without its end-of-picture escape shows what it holds.
    EXPECT_EQ(pixelsOf(decode(dibFile(runLength(2, 1, 8, S("\x02\x03", 2))))),
              (std::vector<std::vector<Color>>{{kBlue, kBlue}}));
}

TEST(DibReader, PixelsStartPastTheTableOrWhereTheFileSays) {
    DibFields f;
    f.width = 2;
    f.height = 1;
    f.bitsPerPixel = 8;
    f.coloursUsed = 2;
    f.table = {kRed, kGreen};
    // Indices past the two-entry table take colour 0 and never read beyond the table.
    f.pixels = dibRows({{1, 0}}, 8, false);
    const std::vector<std::vector<Color>> redGreen{{kGreen, kRed}};
    EXPECT_EQ(pixelsOf(decode(dibFile(f))), redGreen);

    // An offset inside the table is not believed: the rows follow the table.
    std::string inside = dibFile(f);
    patch32(inside, 10, 14 + 40);
    EXPECT_EQ(pixelsOf(decode(inside)), redGreen);

    // A gap (or a colour profile) before the pixels: the file's offset says where they are.
    f.gap = std::string(16, '\x01');
    EXPECT_EQ(pixelsOf(decode(dibFile(f))), redGreen);

    f.gap.clear();
    f.pixels = dibRows({{2, 255}}, 8, false);
    EXPECT_EQ(pixelsOf(decode(dibFile(f))), (std::vector<std::vector<Color>>{{kRed, kRed}}));

    // 16 and 32 bits have a table only when the colours-used field names one.
    DibFields deep;
    deep.width = 1;
    deep.height = 1;
    deep.bitsPerPixel = 16;
    deep.coloursUsed = 2;
    deep.table = {kWhite, kWhite};
    deep.pixels = dibRows({{0x001F}}, 16, false);
    EXPECT_EQ(decode(dibFile(deep)).pixel(0, 0), kBlue);
    deep.coloursUsed = 0;
    deep.table.clear();
    deep.bitsPerPixel = 32;
    deep.pixels = dibRows({{0x00FF00}}, 32, false);
    EXPECT_EQ(decode(dibFile(deep)).pixel(0, 0), kGreen);
}

TEST(DibReader, DamagedFilesAreRefused) {
    using S = std::string;
    DibFields good;
    good.width = 4;
    good.height = 2;
    good.pixels = dibRows({{0, 0, 0, 0}, {0, 0, 0, 0}}, 24, false);
    ASSERT_FALSE(decode(dibFile(good)).isNull());

    struct Case {
        const char* what;
        std::string file;
    };
    std::vector<Case> cases;
    const auto changed = [&](const char* what, auto change) {
        DibFields f = good;
        change(f);
        cases.push_back({what, dibFile(f)});
    };
    const auto patched = [&](const char* what, std::size_t at, std::uint32_t value) {
        std::string file = dibFile(good);
        patch32(file, at, value);
        cases.push_back({what, file});
    };
    const auto runs = [&](const char* what, int width, int bits, S stream) {
        cases.push_back({what, dibFile(runLength(width, 2, bits, std::move(stream)))});
    };

    cases.push_back({"not BM", "XM" + dibFile(good).substr(2)});
    cases.push_back({"file header only", dibFile(good).substr(0, 14)});
    patched("declared size below the headers", 2, 20);
    patched("declared size above the file", 2, std::uint32_t(dibFile(good).size() + 1));
    patched("header size 13", 14, 13);
    patched("header size 11", 14, 11);
    patched("header past the file", 14, 4000);
    changed("width 0", [](DibFields& f) { f.width = 0; });
    changed("width negative", [](DibFields& f) { f.width = -4; });
    changed("height 0", [](DibFields& f) { f.height = 0; });
    changed("rows short", [](DibFields& f) { f.pixels.resize(f.pixels.size() - 4); });
    changed("depth 2", [](DibFields& f) { f.bitsPerPixel = 2; });
    changed("depth 7", [](DibFields& f) { f.bitsPerPixel = 7; });
    changed("JPEG inside", [](DibFields& f) { f.compression = 4; });
    changed("PNG inside", [](DibFields& f) { f.compression = 5; });
    changed("unknown compression", [](DibFields& f) { f.compression = 99; });
    changed("masks for 24 bits", [](DibFields& f) { f.compression = 3; });
    changed("RLE8 on 4 bits", [](DibFields& f) {
        f.compression = 1;
        f.bitsPerPixel = 4;
    });
    changed("masks cut off", [](DibFields& f) {
        f.bitsPerPixel = 16;
        f.compression = 3;
        f.pixels.clear();
    });
    changed("more colours used than the file holds", [](DibFields& f) {
        f.bitsPerPixel = 8;
        f.coloursUsed = 1000;
        f.table = {kRed, kGreen};
    });
    changed("colours used beyond any file", [](DibFields& f) {
        f.bitsPerPixel = 8;
        f.coloursUsed = 0xFFFFFFFF;
    });
    changed("height of -2^31", [](DibFields& f) { f.height = INT32_MIN; });
    runs("run past the right edge", 6, 8, S("\x07\x01", 2));
    runs("absolute run past the right edge", 2, 8, S("\x00\x03\x01\x01\x01\x00", 6));
    runs("absolute run cut off", 6, 8, S("\x00\x05\x01\x01", 4));
    runs("RLE4 run past the right edge", 3, 4, S("\x04\x11", 2));
    runs("move past the right edge", 6, 8, S("\x00\x02\x07\x00", 4));
    runs("move past the top", 6, 8, S("\x00\x02\x00\x03", 4));
    runs("run above the last row", 2, 8, S("\x00\x00\x00\x00\x01\x01", 6));

    for (const Case& c : cases)
        EXPECT_TRUE(decode(c.file).isNull()) << c.what;
    EXPECT_TRUE(decodeDib(nullptr, 0).isNull());
}

TEST(DibReader, PicturesBeyondSixtyFourMegapixelsAreRefused) {
    const std::string end("\x00\x01", 2);
    const Picture within = decode(dibFile(runLength(1000, 1000, 8, end)));
    EXPECT_EQ(within.width(), 1000);
    EXPECT_EQ(within.pixel(999, 999), kBlack);
    EXPECT_TRUE(decode(dibFile(runLength(8193, 8192, 8, end))).isNull());
    EXPECT_TRUE(decode(dibFile(runLength(65536, 1, 8, end))).isNull());
}

// The seeds of the picture fuzzer are pictures of every kind written by another encoder.
TEST(DibReader, EverySeedPictureDecodes) {
    const std::filesystem::path seeds =
        std::filesystem::path(LORVENNA_SOURCE_DIR) / "tests/fuzz/corpus/picture";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(seeds)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string file{std::istreambuf_iterator<char>(in), {}};
        EXPECT_FALSE(decode(file).isNull()) << entry.path().filename();
        ++count;
    }
    EXPECT_GE(count, 10);
}

} // namespace lorvenna

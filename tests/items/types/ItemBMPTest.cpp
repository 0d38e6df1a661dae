// BMP items: pictures of every kind drawn in place, squeezed, loaded once, and shown or hidden.
#include "items/types/ItemBMP.h"

#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/DibReader.h"
#include "platform/QtChildWindow.h"
#include "platform/QtSurface.h"
#include "tests/items/types/ItemBench.h"
#include "tests/support/PictureFiles.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

Color at(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return {std::uint8_t(qRed(p)), std::uint8_t(qGreen(p)), std::uint8_t(qBlue(p))};
}

// A display of 800 x 600 drawing on a real surface, and pictures in its working folder.
struct PictureBench {
    PictureBench() {
        image.fill(Qt::white);
        display.clientRect = {0, 0, 800, 600};
        display.surface = &surface;
    }

    ItemBMP* add(const std::string& name, int x, int y) {
        auto* item = new ItemBMP();
        item->title = name;
        item->text = name;
        item->pose.x = item->initialPose.x = x;
        item->pose.y = item->initialPose.y = y;
        item->display = &display;
        item->surface = &surface;
        item->next = display.items;
        display.items = item;
        return item;
    }
    void write(const std::string& name, const std::string& bytes) {
        folder.write("BMPS/" + name + ".BMP", bytes, false);
    }

    FreshSession fresh;
    WorkFolder folder;
    QImage image{800, 600, QImage::Format_RGB32};
    QtSurface surface{&image};
    Display display;
};

// Every pixel of a 3 x 2 picture, top row then bottom row.
const std::vector<Color> kColours{kRed, kGreen, kBlue, kWhite, kBlack, kYellow};
const std::vector<std::vector<std::uint32_t>> kGrid{{0, 1, 2}, {3, 4, 5}};

// Run-length rows of single-pixel runs, each row ended, the picture ended.
std::string runRows(const std::vector<std::vector<std::uint32_t>>& rows, int bits, bool topDown) {
    std::string out;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::uint32_t index : rows[topDown ? r : rows.size() - 1 - r]) {
            out += '\x01';
            out += char(bits == 4 ? index << 4 : index);
        }
        out += std::string("\0\0", 2);
    }
    return out + std::string("\0\1", 2);
}

} // namespace

TEST(ItemBMP, EveryKindOfPictureIsDrawnPixelForPixel) {
    using Value = std::function<std::uint32_t(Color)>;
    const Value rgb = [](Color c) { return std::uint32_t(c.r) << 16 | c.g << 8 | c.b; };
    const Value rgb555 = [](Color c) { return (c.r >> 3) << 10 | (c.g >> 3) << 5 | c.b >> 3; };
    const Value rgb565 = [](Color c) { return (c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3; };
    const Value gbr = [](Color c) { return std::uint32_t(c.r) << 8 | c.g << 16 | c.b << 24; };
    const std::vector<std::uint32_t> masks565{0xF800, 0x07E0, 0x001F};
    const std::vector<std::uint32_t> masksGbr{0x0000FF00, 0x00FF0000, 0xFF000000};
    struct Case {
        const char* name;
        std::uint32_t header;
        int bits;
        std::uint32_t compression;
        std::vector<std::uint32_t> masks;
        Value value; // none: indexed
    };
    const std::vector<Case> cases{
        {"core 8", 12, 8, 0, {}, {}},
        {"1 bit", 40, 1, 0, {}, {}},
        {"4 bits", 40, 4, 0, {}, {}},
        {"8 bits", 40, 8, 0, {}, {}},
        {"RLE8", 40, 8, 1, {}, {}},
        {"RLE4", 40, 4, 2, {}, {}},
        {"16 bits 5-5-5", 40, 16, 0, {}, rgb555},
        {"16 bits masks after the header", 40, 16, 3, masks565, rgb565},
        {"16 bits masks in the header", 52, 16, 3, masks565, rgb565},
        {"24 bits", 40, 24, 0, {}, rgb},
        {"24 bits, header 108", 108, 24, 0, {}, rgb},
        {"32 bits", 40, 32, 0, {}, rgb},
        {"32 bits masks", 40, 32, 3, masksGbr, gbr},
        {"32 bits masks, header 56", 56, 32, 3, masksGbr, gbr},
        {"32 bits masks, header 124", 124, 32, 3, masksGbr, gbr},
    };
    for (const Case& c : cases) {
        for (const bool topDown : {false, true}) {
            if (c.header == 12 && topDown)
                continue; // the core header has no sign to say so
            const std::string what = std::string(c.name) + (topDown ? " top-down" : "");
            PictureBench bench;
            DibFields f;
            f.headerSize = c.header;
            f.width = 3;
            f.height = topDown ? -2 : 2;
            f.bitsPerPixel = std::uint16_t(c.bits);
            f.compression = c.compression;
            f.masks = c.masks;
            std::vector<std::vector<std::uint32_t>> rows = kGrid;
            std::vector<Color> expected = kColours;
            if (!c.value) {
                if (c.bits == 1) {
                    expected = {kRed, kGreen};
                    rows = {{0, 1, 0}, {1, 0, 1}};
                }
                f.table = expected;
                if (c.header != 12)
                    f.coloursUsed = std::uint32_t(expected.size());
            } else {
                for (auto& row : rows) {
                    for (std::uint32_t& v : row)
                        v = c.value(kColours[v]);
                }
            }
            f.pixels = c.compression == 1 || c.compression == 2 ? runRows(rows, c.bits, topDown)
                                                                : dibRows(rows, c.bits, topDown);
            bench.write("PIC", dibFile(f));
            ItemBMP* item = bench.add("PIC", 10, 20);
            ASSERT_TRUE(item->StartupAction()) << what;
            item->Draw();
            const std::vector<std::vector<std::uint32_t>> indices =
                c.bits == 1 ? std::vector<std::vector<std::uint32_t>>{{0, 1, 0}, {1, 0, 1}} : kGrid;
            for (int y = 0; y < 2; ++y) {
                for (int x = 0; x < 3; ++x)
                    EXPECT_EQ(at(bench.image, 10 + x, 20 + y), expected[indices[y][x]])
                        << what << " at " << x << "," << y;
            }
            EXPECT_EQ(at(bench.image, 13, 20), kWhite) << what;
            EXPECT_EQ(at(bench.image, 10, 22), kWhite) << what;
        }
    }
}

TEST(ItemBMP, PictureReachingPastTheDisplayIsSqueezedNotCropped) {
    PictureBench bench;
    // 200 x 200 in four quadrants: red, green above; blue, yellow below.
    std::vector<std::vector<std::uint32_t>> rows(200, std::vector<std::uint32_t>(200));
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x)
            rows[y][x] =
                y < 100 ? (x < 100 ? 0xFF0000 : 0x00FF00) : (x < 100 ? 0x0000FF : 0xFFFF00);
    }
    DibFields f;
    f.width = 200;
    f.height = 200;
    f.pixels = dibRows(rows, 24, false);
    bench.write("BIG", dibFile(f));
    ItemBMP* item = bench.add("BIG", 700, 500);
    ASSERT_TRUE(item->StartupAction());
    EXPECT_EQ(item->width, 100);
    EXPECT_EQ(item->height, 100);
    EXPECT_EQ(item->bounds, (Rect{700, 500, 800, 600}));
    EXPECT_EQ(item->area, 0);
    EXPECT_EQ(item->HitTest(750, 550), 0) << "a picture never takes a click";
    item->Draw();
    EXPECT_EQ(at(bench.image, 700, 500), kRed);
    EXPECT_EQ(at(bench.image, 749, 549), kRed);
    EXPECT_EQ(at(bench.image, 750, 549), kGreen);
    EXPECT_EQ(at(bench.image, 749, 550), kBlue);
    EXPECT_EQ(at(bench.image, 799, 599), kYellow);
    EXPECT_EQ(at(bench.image, 699, 499), kWhite);

    // One that starts beyond the display has nothing left to draw into.
    ItemBMP* beyond = bench.add("BIG", 900, 100);
    ASSERT_TRUE(beyond->StartupAction());
    EXPECT_EQ(beyond->width, 0);
}

TEST(ItemBMP, PictureIsReadOnceInTheItemsLife) {
    PictureBench bench;
    bench.write("PIC", solidPicture(2, 2, kRed));
    ItemBMP* item = bench.add("PIC", 0, 0);
    ASSERT_TRUE(item->StartupAction());
    bench.write("PIC", solidPicture(4, 4, kBlue));
    ASSERT_TRUE(item->StartupAction());
    EXPECT_EQ(item->image.pixel(0, 0), kRed);
    EXPECT_EQ(item->width, 2);
}

TEST(ItemBMP, ItemsShowingOneFileShareItsPictureAndALessonHoldsOnlySoMuch) {
    PictureBench bench;
    bench.write("PIC", solidPicture(2, 2, kRed));
    ItemBMP* first = bench.add("PIC", 0, 0);
    ItemBMP* second = bench.add("pic", 10, 0);
    ASSERT_TRUE(first->StartupAction());
    ASSERT_TRUE(second->StartupAction());
    EXPECT_EQ(first->image.image().constBits(), second->image.image().constBits());
    EXPECT_EQ(pageOnScreen().pictures.pixels, 4);

    // A few bytes of run-length code may claim a huge picture: past what one lesson may hold
    // at once, a picture is refused like a damaged one.
    const std::int64_t others = kMaxPicturePixelsHeld - 7; // pictures of other items
    pageOnScreen().pictures.pixels += others;
    bench.write("MORE", solidPicture(2, 2, kBlue));
    ItemBMP* more = bench.add("MORE", 0, 0);
    EXPECT_FALSE(more->StartupAction());
    bench.write("MORE", solidPicture(1, 3, kBlue));
    EXPECT_TRUE(more->StartupAction());

    // Pictures no item shows any more give their room back.
    pageOnScreen().pictures.pixels -= others;
    first->image = second->image = Picture();
    bench.write("LAST", solidPicture(3, 3, kBlue));
    EXPECT_TRUE(bench.add("LAST", 0, 0)->StartupAction());
    EXPECT_EQ(pageOnScreen().pictures.pixels, 3 + 9);
}

TEST(ItemBMP, FailedLoadsLeaveNoPictureAndTryAgain) {
    PictureBench bench;
    ItemBMP* item = bench.add("NOPE", 0, 0);
    EXPECT_FALSE(item->StartupAction());
    EXPECT_FALSE(item->loaded());

    std::string longer = solidPicture(2, 2, kRed);
    longer[2] = char(longer[2] + 1); // declares one byte more than the file has
    for (const std::string& bad : {std::string("XM") + solidPicture(2, 2, kRed).substr(2), longer,
                                   solidPicture(2, 2, kRed).substr(0, 10)}) {
        bench.write("NOPE", bad);
        EXPECT_FALSE(item->StartupAction());
        EXPECT_FALSE(item->loaded());
    }
    bench.write("NOPE", solidPicture(2, 2, kRed));
    EXPECT_TRUE(item->StartupAction());
    EXPECT_TRUE(item->loaded());
}

TEST(ItemBMP, FlashHideAndAppear) {
    PaperDisplay paper;
    auto* item = paper.add<ItemBMP>("Pic", "FILE PIC");
    ASSERT_NE(item, nullptr);
    struct Case {
        Visibility before;
        const char* command;
        Visibility after;
    };
    using enum Visibility;
    for (const Case& c : {Case{Shown, "FLASH", Hidden}, Case{Hidden, "FLASH", Shown},
                          Case{Highlighted, "FLASH", Highlighted}, Case{Shown, "HIDE", Hidden},
                          Case{Hidden, "APPEAR", Shown}, Case{Hidden, "XFLASHY", Shown},
                          Case{Shown, "STOP", Shown}}) {
        item->visibility = c.before;
        paper.display.needsRepaint = 0;
        item->Input(c.command, 0.0, nullptr);
        EXPECT_EQ(item->visibility, c.after) << int(c.before) << " " << c.command;
        EXPECT_EQ(paper.display.needsRepaint, 1) << c.command;
    }
    EXPECT_EQ(paper.add<ItemBMP>("Other", "FILE PIC\nSCALE 2"), nullptr);
    EXPECT_EQ(paper.lastMessage(), "Bad MODE SCALE 2 in Item Other");
}

TEST(ItemBMP, PageShowsThePictureAndAHiddenOneIsNotDrawn) {
    LessonBench bench;
    bench.folder.write("BMPS/Sky.bmp", solidPicture(20, 10, kBlue), false);
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Pictures
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM BMP Shown
FILE SKY
LOC 30 40
}
ITEM BMP Hidden
FILE sky
LOC 100 40
HIDE
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    const QImage shown = widgetOf(*bench.display(1)->window)->grab().toImage();
    EXPECT_EQ(shown.pixelColor(30, 40), QColor(0, 0, 255));
    EXPECT_EQ(shown.pixelColor(49, 49), QColor(0, 0, 255));
    EXPECT_EQ(shown.pixelColor(50, 49), QColor(255, 255, 255));
    EXPECT_EQ(shown.pixelColor(100, 40), QColor(255, 255, 255));
}

} // namespace lorvenna

// Page pictures: the same page gives the same PNG every time, and an answer adds its mark.
#include "tools/shot/PageShot.h"

#include "platform/ScreenScale.h"
#include "platform/TextCodec.h"
#include "records/Help.h"
#include "shell/Session.h"
#include "tests/support/WorkFolder.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <string>

namespace lorvenna {
namespace {

QByteArray png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray shoot(bool answer) {
    resetSession();
    PageShot shot;
    const std::string lesson = std::string(LORVENNA_SOURCE_DIR) + "/courseware/LSNS/01-02.LSN";
    EXPECT_TRUE(shot.render(lesson, 2, answer)) << shot.error();
    EXPECT_EQ(shot.image().size(), QSize(kPageWidth, kPageHeight));
    return png(shot.image());
}

TEST(PageShot, SamePageGivesTheSamePictureAndAnAnswerAddsItsMark) {
    const QByteArray first = shoot(false);
    EXPECT_EQ(shoot(false), first);
    const QByteArray answered = shoot(true);
    EXPECT_NE(answered, first);
    EXPECT_EQ(shoot(true), answered);
}

// Dark pixels (text, lines, frames, marks) of a page picture.
bool dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 96;
}

// The share of the dark pixels of `seen` that have a dark pixel of `expected` at most a pixel
// away.
double darkWithinAPixel(const QImage& seen, const QImage& expected) {
    int darkPixels = 0;
    int near = 0;
    for (int y = 1; y + 1 < seen.height(); ++y) {
        for (int x = 1; x + 1 < seen.width(); ++x) {
            if (!dark(seen, x, y))
                continue;
            ++darkPixels;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy) {
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = dark(expected, x + dx, y + dy);
            }
            near += found ? 1 : 0;
        }
    }
    return darkPixels == 0 ? 0.0 : static_cast<double>(near) / darkPixels;
}

// A page drawn at a scale is the page at 1.0 made larger: its text, lines and marks lie where
// those of the 1.0 page land when it is scaled, within a pixel, both ways round.
TEST(PageShot, PageAtAScaleIsThePageAtOneScaled) {
    const std::string lesson = std::string(LORVENNA_SOURCE_DIR) + "/courseware/LSNS/01-02.LSN";
    resetSession();
    PageShot one;
    ASSERT_TRUE(one.render(lesson, 2, true)) << one.error();
    for (const double factor : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(factor);
        resetSession();
        PageShot scaled;
        ASSERT_TRUE(scaled.render(lesson, 2, true, true, factor)) << scaled.error();
        const QSize size(static_cast<int>(800 * factor), static_cast<int>(600 * factor));
        ASSERT_EQ(scaled.image().size(), size);
        const QImage expected = one.image().scaled(size, Qt::IgnoreAspectRatio);
        EXPECT_GT(darkWithinAPixel(scaled.image(), expected), 0.99);
        EXPECT_GT(darkWithinAPixel(expected, scaled.image()), 0.99);
    }
}

// A page of a text, a caption and a button, its words given by the test.
std::string lessonWith(const std::string& words) {
    return "Lesson 01-01 " + words +
           "\nPAGE 1\nDISPLAY Main\nEND PAGES\n"
           "DISPLAY Main 10 40 500 300 A\nITEM TEXT Words\nLOC 10 10\n@" +
           words + "\n}\nITEM LABEL Caption\nLOC 100 150\nSHAPE 0 40 L\n@" + words +
           "\n}\nITEM BUTTON Press\nLOC 10 220\nSIZE 200 30\n@" + words +
           "\n}\nEND DISPLAY\nEND LESSON\n";
}

QImage shootLesson(const WorkFolder& folder, const std::string& lesson) {
    resetSession();
    folder.write("LSNS/01-01.LSN", lesson);
    PageShot shot;
    EXPECT_TRUE(shot.render(folder.path() + "/LSNS/01-01.LSN", 1, false)) << shot.error();
    return shot.image();
}

TEST(PageShot, Utf8AndWesternLessonsAndHelpLookTheSame) {
    WorkFolder folder;
    folder.addPicture();
    const std::string utf8 = "Caf\xC3\xA9 f\xC3\xBCr Stra\xC3\x9F\x65 \xE2\x82\xAC 5";
    std::string western;
    ASSERT_TRUE(utf8ToWestern(utf8, western));
    const QImage fromUtf8 = shootLesson(folder, lessonWith(utf8));
    EXPECT_EQ(shootLesson(folder, lessonWith(western)), fromUtf8);
    // The accents are drawn: the same words without them look otherwise.
    EXPECT_NE(shootLesson(folder, lessonWith("Cafe fur Strasse E 5")), fromUtf8);
    // A script of its own is drawn as such, not as pairs of Western letters.
    const std::string greek = "\xCE\x9F \xCE\xBA\xCF\x8D\xCE\xBA\xCE\xBB\xCE\xBF\xCF\x82";
    EXPECT_NE(shootLesson(folder, lessonWith(greek)),
              shootLesson(folder, lessonWith(westernToUtf8(greek))));

    folder.write("HELP/STARTUP.TXT", utf8, false);
    folder.write("HELP/CREDITS.TXT", western, false);
    EXPECT_EQ(readShownText("HELP\\STARTUP.TXT"), utf8);
    EXPECT_EQ(readShownText("HELP\\CREDITS.TXT"), utf8);
}

TEST(PageShot, WrongAnswerShowsItsMarkAndComment) {
    resetSession();
    const std::string lesson = std::string(LORVENNA_SOURCE_DIR) + "/courseware/LSNS/01-02.LSN";
    PageShot right;
    PageShot wrong;
    ASSERT_TRUE(right.render(lesson, 2, true, true)) << right.error();
    resetSession();
    ASSERT_TRUE(wrong.render(lesson, 2, true, false)) << wrong.error();
    // The comment panel stands at the upper left of the page, over the heading.
    const QRect panel(4, 4, 200, 40);
    EXPECT_NE(wrong.image().copy(panel), right.image().copy(panel));
}

} // namespace
} // namespace lorvenna

// Page pictures: the same page gives the same PNG every time, and an answer adds its mark.
#include "tools/shot/PageShot.h"

#include "shell/Session.h"

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
    EXPECT_EQ(shot.image().size(), QSize(PageShot::kWidth, PageShot::kHeight));
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
        ASSERT_TRUE(scaled.render(lesson, 2, true, factor)) << scaled.error();
        const QSize size(static_cast<int>(800 * factor), static_cast<int>(600 * factor));
        ASSERT_EQ(scaled.image().size(), size);
        const QImage expected = one.image().scaled(size, Qt::IgnoreAspectRatio);
        EXPECT_GT(darkWithinAPixel(scaled.image(), expected), 0.99);
        EXPECT_GT(darkWithinAPixel(expected, scaled.image()), 0.99);
    }
}

} // namespace
} // namespace lorvenna

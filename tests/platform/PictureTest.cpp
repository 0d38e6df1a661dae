// The program's own pictures, cursor and icon.
#include "platform/Picture.h"

#include "platform/Cursors.h"
#include "platform/ProgramResources.h"

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace lorvenna {

TEST(Picture, EveryResourceHasItsSize) {
    struct Case {
        int number;
        int width;
        int height;
    };
    for (const Case& c : {Case{301, 16, 16}, Case{302, 16, 16}, Case{303, 16, 16},
                          Case{304, 12, 16}, Case{305, 12, 16}, Case{306, 15, 20},
                          Case{307, 15, 20}, Case{308, 19, 25}, Case{309, 19, 25}}) {
        const Picture p = Picture::resource(c.number);
        ASSERT_FALSE(p.isNull()) << c.number;
        EXPECT_EQ(p.width(), c.width) << c.number;
        EXPECT_EQ(p.height(), c.height) << c.number;
        EXPECT_EQ(p.image().format(), QImage::Format_RGB32) << c.number;
    }
    const Picture start = Picture::resource(310);
    EXPECT_GE(start.width(), 560);
    EXPECT_LE(start.height(), 120);

    EXPECT_TRUE(Picture::resource(300).isNull());
    EXPECT_TRUE(Picture::resource(999).isNull());
}

TEST(Picture, MarksAreFacesOnWhite) {
    const Picture right = Picture::resource(301);
    const Picture wrong = Picture::resource(302);
    for (const Picture* mark : {&right, &wrong}) {
        EXPECT_EQ(mark->pixel(0, 0), (Color{255, 255, 255}));
        EXPECT_EQ(mark->pixel(15, 15), (Color{255, 255, 255}));
    }
    // Left of the mouth: the colour of the face.
    const Color green = right.pixel(3, 8);
    const Color red = wrong.pixel(3, 8);
    EXPECT_GT(green.g, green.r + 60);
    EXPECT_GT(red.r, red.g + 60);
    // Out of the picture there is nothing to see.
    EXPECT_EQ(right.pixel(16, 0), Color{});
    EXPECT_EQ(right.pixel(-1, 3), Color{});
}

TEST(Picture, CursorAndIcon) {
    const QCursor& cursor = pointCursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(9, 1));
    const QImage hand = cursor.pixmap().toImage();
    ASSERT_EQ(hand.size(), QSize(32, 32));
    // The hot spot is on the finger tip: drawn there, and clear beside it.
    EXPECT_GT(qAlpha(hand.pixel(9, 1)), 0);
    EXPECT_EQ(qAlpha(hand.pixel(2, 1)), 0);

    EXPECT_FALSE(programIcon().isNull());
}

} // namespace lorvenna

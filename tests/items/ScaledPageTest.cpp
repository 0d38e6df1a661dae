// A page shown at a scale: clicks taken back to page units, the hit region of a zone, and
// pictures and figures that a highlighter's stop leaves as their block made them.
#include "items/Drawing.h"
#include "items/Item.h"
#include "items/PageEntry.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/QtChildWindow.h"
#include "platform/ScreenScale.h"
#include "shell/Controller.h"
#include "tests/items/types/ItemBench.h"
#include "tests/support/PictureFiles.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace lorvenna {
namespace {

// A right triangle (100,100) (200,100) (100,200) on a display away from the page's corner, and
// a text that asks where it is.
constexpr const char* kTriangleLesson = R"(Lesson 01-01 Triangle
PAGE 1
DISPLAY One
END PAGES
DISPLAY One 40 60 400 300 A
ITEM ZONE Tri
LOC 100 100
SHAPE 0 100 L
SHAPE 135 141.43 L
}
ITEM TEXT Ask
LOC 10 250
@Where is the triangle?
KEYSHOW Tri
}
END DISPLAY
END LESSON
)";

void showPageAt(double factor) {
    screenScale() = centredScale(factor, static_cast<int>(kPageWidth * factor),
                                 static_cast<int>(kPageHeight * factor));
}

// A real press of the left button on the middle of the pixels that show page unit (x, y).
void pressAt(Display* display, int x, int y) {
    QWidget* widget = widgetOf(*display->window);
    const double factor = screenScale().scaleDiag;
    const QPointF at((x + 0.5) * factor, (y + 0.5) * factor);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

TEST(ScaledPage, ClicksAtScaledPointsHitTheZoneAndAreJudgedAsAtOne) {
    for (const double factor : {1.0, 1.5, 2.0, 2.4}) {
        SCOPED_TRACE(factor);
        LessonBench bench;
        showPageAt(factor);
        ASSERT_TRUE(bench.load(kTriangleLesson)) << bench.lastMessage();
        QuietWindow quiet;
        Controller controller(quiet);
        controller.handleState(StateCode::ShowPage, 1);
        repaintAllDisplays();
        Display* one = bench.display(1);
        EXPECT_EQ(one->clientRect, (Rect{0, 0, 398, 298})) << "page units at every scale";

        // Inside the zone's box but beyond the hypotenuse: nothing is hit, and a miss on a
        // page that asks where something is (a TEXT question) is no answer.
        pressAt(one, 150, 155);
        EXPECT_EQ(pageOnScreen().rightWaitStart + pageOnScreen().wrongWaitStart, 0u);

        pressAt(one, 140, 155);
        EXPECT_EQ(pageOnScreen().currentEntry->rightCount, 1);
        EXPECT_EQ(pageOnScreen().lastMouseX, 140u) << "the click in page units";
        EXPECT_EQ(pageOnScreen().lastMouseY, 155u);
    }
    screenScale() = ScreenScale{};
}

// Two highlighters, one of which flashes a picture and moves a figure that their blocks hide:
// pressing the other stops the first, which puts its targets back as their blocks left them.
TEST(ScaledPage, HiddenPictureAndFigureStayHiddenWhenAHighlighterStops) {
    LessonBench bench;
    bench.folder.write("BMPS/RED.BMP", solidPicture(40, 40, kRed), false);
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Hidden
PAGE 1
DISPLAY One
END PAGES
DISPLAY One 0 0 400 300 A
ITEM BMP Pic
LOC 200 20
FILE RED
HIDE
}
ITEM ANI Fig
LOC 200 150
LINECOLOR 2
LINEWIDTH 3
SHAPE 0 100 L
HIDE
}
ITEM HIGHLIGHTER Lungs
LOC 10 10
@Lungs
OUTPUT Pic FLASH
OUTPUT Fig MOVE 0 0 1 0
}
ITEM HIGHLIGHTER Heart
LOC 10 50
@Heart
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    repaintAllDisplays();
    Display* one = bench.display(1);
    EXPECT_EQ(shownColor(one, 220, 40), (Color{255, 255, 255}));

    bench.press(bench.item("Heart"));
    repaintAllDisplays();
    EXPECT_EQ(bench.item("Pic")->visibility, Visibility::Hidden);
    EXPECT_EQ(bench.item("Fig")->visibility, Visibility::Hidden);
    EXPECT_EQ(shownColor(one, 220, 40), (Color{255, 255, 255})) << "no picture";
    EXPECT_EQ(shownColor(one, 250, 150), (Color{255, 255, 255})) << "no figure";

    // The highlighter that shows them still does, and puts them back hidden when it stops.
    bench.press(bench.item("Lungs"));
    bench.item("Lungs")->Input("TICK", 0.0, nullptr);
    repaintAllDisplays();
    EXPECT_EQ(shownColor(one, 220, 40), (Color{255, 0, 0}));
    bench.press(bench.item("Heart"));
    EXPECT_EQ(bench.item("Pic")->visibility, Visibility::Hidden);
}

} // namespace
} // namespace lorvenna

// Pages whose items drive each other as a course author wires them: timers and sliders moving
// figures, highlighters blinking zones and labels, buttons stepping a picture series.
#include "items/Item.h"
#include "items/RunObjects.h"
#include "platform/QtChildWindow.h"
#include "tests/items/types/ItemBench.h"
#include "tests/items/types/MotionBench.h"
#include "tests/support/PictureFiles.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace lorvenna {
namespace {

TEST(LivelyPage, TimerMovesAFigureForItsRunAndThenStops) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Clock
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM TIMER Clock
MSEC 50
MAX 10
OUTPUT Hand MOVE 0 0 2 0
ENDOUTPUT Done APPEAR
}
ITEM ANI Hand
LOC 50 100
LINEWIDTH 3
SHAPE 0 40 L
}
ITEM LABEL Done
LOC 300 250
HIDE
@Done
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* clock = bench.item("Clock");
    Display* main = bench.display(1);
    ASSERT_TRUE(main->window->timerRunning(clock));
    // The toolkit's own timer events: the last one ends the run from inside its own tick.
    int ticks = 0;
    while (QTimer* timer = timerOf(*main->window, clock)) {
        ASSERT_LT(ticks++, 10);
        QTimerEvent event(timer->timerId());
        QCoreApplication::sendEvent(timer, &event);
    }
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(bench.item("Hand")->pose.x, 70.0);
    EXPECT_EQ(shownColor(main, 55, 100), kWhite);
    EXPECT_EQ(shownColor(main, 105, 100), kBlack);
    EXPECT_EQ(bench.item("Done")->visibility, Visibility::Shown);
}

TEST(LivelyPage, HighlighterBlinksAZoneOverAPictureAndALabelUntilStopped) {
    LessonBench bench;
    bench.folder.write("BMPS/MAP.BMP", solidPicture(100, 100, Color{200, 100, 50}), false);
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Blink
PAGE 1
DISPLAY Main
PAGE 2
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM BMP Map
FILE MAP
LOC 80 80
}
ITEM ZONE Lake
LOC 100 100
BACKGROUND 0 0 255
SHAPE 0 60 L
SHAPE 90 60 L
SHAPE 180 60 L
SHAPE 270 60 L
}
ITEM LABEL Name
LOC 250 50
BLINK
@Lake
}
ITEM HIGHLIGHTER Show
LOC 20 240
SIZE 80 30
@Show
OUTPUT Lake FLASH
OUTPUT Name FLASH
}
ITEM HIGHLIGHTER Other
LOC 120 240
SIZE 80 30
@Other
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Display* main = bench.display(1);
    Item* show = bench.item("Show");
    const Color picture{200, 100, 50};
    const Color blink{55, 155, 50};
    EXPECT_EQ(shownColor(main, 130, 130), picture);
    bench.press(show);
    ASSERT_TRUE(main->window->timerRunning(show));
    tickOnce(show);
    EXPECT_EQ(shownColor(main, 130, 130), blink);
    EXPECT_EQ(bench.item("Name")->visibility, Visibility::Shown);
    tickOnce(show);
    EXPECT_EQ(shownColor(main, 130, 130), picture);
    EXPECT_EQ(bench.item("Name")->visibility, Visibility::Highlighted);
    tickOnce(show);
    EXPECT_EQ(shownColor(main, 130, 130), blink);
    bench.press(bench.item("Other"));
    EXPECT_FALSE(main->window->timerRunning(show));
    EXPECT_EQ(shownColor(main, 130, 130), picture);
    EXPECT_EQ(bench.item("Name")->visibility, Visibility::Hidden);
    bench.press(show);
    tickOnce(show);
    ASSERT_TRUE(bench.build(2)) << bench.lastMessage();
    EXPECT_FALSE(main->window->timerRunning(show));
    EXPECT_EQ(shownColor(main, 130, 130), picture);
}

TEST(LivelyPage, PreviousAndNextButtonsStepAPictureSeries) {
    LessonBench bench;
    bench.folder.write("BMPS/RED.BMP", solidPicture(20, 20, kRed), false);
    bench.folder.write("BMPS/GREEN.BMP", solidPicture(20, 20, kGreen), false);
    bench.folder.write("BMPS/BLUE.BMP", solidPicture(20, 20, kBlue), false);
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Series
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM BMP One
FILE RED
LOC 50 50
HIDE
}
ITEM BMP Two
FILE GREEN
LOC 50 50
HIDE
}
ITEM BMP Three
FILE BLUE
LOC 50 50
HIDE
}
ITEM IMSEL Series
REQUESTSELECT 1
OUTPUT One FLASH
OUTPUT Two FLASH
OUTPUT Three FLASH
}
ITEM BUTTON Previous
LOC 20 240
SIZE 80 30
@Previous
OUTPUT Series DELTA -1
}
ITEM BUTTON Next
LOC 120 240
SIZE 80 30
@Next
OUTPUT Series DELTA
}
ITEM BUTTON Last
LOC 220 240
SIZE 80 30
@Last
OUTPUT Series REQUESTSELECT 3
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Display* main = bench.display(1);
    EXPECT_EQ(shownColor(main, 60, 60), kRed);
    bench.press(bench.item("Next"));
    EXPECT_EQ(shownColor(main, 60, 60), kGreen);
    bench.press(bench.item("Next"));
    bench.press(bench.item("Next"));
    EXPECT_EQ(shownColor(main, 60, 60), kBlue);
    bench.press(bench.item("Previous"));
    EXPECT_EQ(shownColor(main, 60, 60), kGreen);
    bench.press(bench.item("Last"));
    EXPECT_EQ(shownColor(main, 60, 60), kBlue);
    EXPECT_EQ(bench.item("One")->visibility, Visibility::Hidden);
    EXPECT_EQ(bench.item("Two")->visibility, Visibility::Hidden);
}

TEST(LivelyPage, SliderArrowsAndTroughMoveAFigureUpToItsRange) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Slide
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM SLIDER Knob
LOC 20 250
SIZE 200 20
STEP 2
OUTPUT Arm MOVE 0 0 1 0
}
ITEM ANI Arm
LOC 50 100
LINEWIDTH 3
SHAPE 0 40 L
PLUSRANGE 360 60 600
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Display* main = bench.display(1);
    auto* bar = widgetOf(*main->window)->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bench.item("Arm")->pose.x, 51.0);
    for (int i = 0; i < 20; ++i)
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bench.item("Arm")->pose.x, 60.0);
    EXPECT_EQ(shownColor(main, 98, 100), kBlack);
    EXPECT_EQ(shownColor(main, 55, 100), kWhite);
    EXPECT_EQ(bar->value(), 22);
}

} // namespace
} // namespace lorvenna

// TIMER items: ticks, the tick limit, sine waves, the input commands and the page change.
#include "items/types/ItemTimer.h"

#include "items/RunObjects.h"
#include "items/types/ItemHighlighter.h"
#include "tests/items/types/MotionBench.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace lorvenna {
namespace {

struct TimerPaper {
    FreshSession fresh;
    PaperDisplay paper;
    ChildWindow& window = openWindow(paper);
    Tally* sum = paper.add<Tally>("Sum", "");
    Tally* end = paper.add<Tally>("End", "");

    ItemTimer* timer(std::string_view lines) {
        auto* made = paper.add<ItemTimer>("Clock", lines);
        if (made && !made->Connect())
            return nullptr;
        return made;
    }
};

TEST(ItemTimer, WithoutMaxItTicksOnceAlongBothListsAndStops) {
    TimerPaper bench;
    ItemTimer* clock = bench.timer("MSEC 50\nSTEP 2.5\nOUTPUT Sum MOVE\nENDOUTPUT End DONE");
    ASSERT_NE(clock, nullptr) << bench.paper.lastMessage();
    ASSERT_TRUE(clock->StartupAction());
    ASSERT_TRUE(bench.window.timerRunning(clock));
    EXPECT_EQ(timerOf(bench.window, clock)->interval(), 50);

    tickOnce(clock);
    EXPECT_EQ(bench.sum->values, std::vector<double>{2.5});
    EXPECT_EQ(bench.end->values, std::vector<double>{2.5});
    EXPECT_EQ(bench.end->names, std::vector<std::string>{"DONE"});
    EXPECT_FALSE(clock->running);
    EXPECT_FALSE(bench.window.timerRunning(clock));
}

TEST(ItemTimer, MaxTenEndsAfterTheTenthTickAndStartBeginsANewRun) {
    TimerPaper bench;
    ItemTimer* clock = bench.timer("MAX 10.9\nOUTPUT Sum MOVE\nENDOUTPUT End DONE");
    ASSERT_NE(clock, nullptr) << bench.paper.lastMessage();
    clock->StartupAction();
    for (int i = 0; i < 9; ++i)
        tickOnce(clock);
    EXPECT_TRUE(bench.end->values.empty());
    tickOnce(clock);
    EXPECT_EQ(bench.end->values.size(), 1u);
    EXPECT_FALSE(clock->running);

    // RESTART contains START. A run stopped halfway starts again from its first tick.
    clock->Input("RESTART", 0.0, nullptr);
    for (int i = 0; i < 4; ++i)
        tickOnce(clock);
    clock->Input("START", 0.0, nullptr);
    for (int i = 0; i < 9; ++i)
        tickOnce(clock);
    EXPECT_EQ(bench.end->values.size(), 1u);

    // The window's own timer drives the last tick and goes away under its own tick.
    timerOf(bench.window, clock)->setInterval(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(bench.end->values.size(), 2u);
    EXPECT_EQ(bench.sum->values.size(), 24u);
    EXPECT_FALSE(bench.window.timerRunning(clock));
}

TEST(ItemTimer, SineTicksAddUpToTheWaveAndComeBackToZero) {
    TimerPaper bench;
    ItemTimer* clock = bench.timer("SINE 10 0\nMAX 36\nOUTPUT Sum MOVE\nENDOUTPUT End DONE");
    ASSERT_NE(clock, nullptr) << bench.paper.lastMessage();
    clock->StartupAction();
    for (int k = 1; k <= 36; ++k) {
        tickOnce(clock);
        EXPECT_NEAR(bench.sum->sum, -std::sin(k * 10.0 * std::numbers::pi / 180.0), 1e-9)
            << "after tick " << k;
    }
    EXPECT_NEAR(bench.sum->sum, 0.0, 1e-9);
    EXPECT_FALSE(clock->running);

    // STEP replaces the phase advance with the raw value, in radians.
    clock->Input("STEP", 0.5, nullptr);
    clock->Input("START", 0.0, nullptr);
    const double phase = clock->phase;
    tickOnce(clock);
    EXPECT_NEAR(bench.sum->values.back(), std::sin(phase + 0.5) - std::sin(phase), 1e-12);
}

TEST(ItemTimer, InputCommandsStartStopToggleAndRetune) {
    TimerPaper bench;
    ItemTimer* clock = bench.timer("STOP\nMSEC 100\nOUTPUT Sum MOVE");
    ASSERT_NE(clock, nullptr) << bench.paper.lastMessage();
    clock->StartupAction();
    EXPECT_FALSE(bench.window.timerRunning(clock)) << "a STOP line keeps it still at page start";

    clock->Input("MSEC", 40.7, nullptr);
    EXPECT_EQ(clock->msec, 40);
    EXPECT_FALSE(bench.window.timerRunning(clock)) << "MSEC does not start a stopped timer";
    clock->Input("TICK", 0.0, nullptr);
    EXPECT_TRUE(bench.sum->values.empty());

    clock->Input("TOGGLE", 0.0, nullptr);
    ASSERT_TRUE(bench.window.timerRunning(clock));
    EXPECT_EQ(timerOf(bench.window, clock)->interval(), 40);
    clock->Input("MSEC", 0.0, nullptr);
    ASSERT_TRUE(bench.window.timerRunning(clock));
    EXPECT_EQ(timerOf(bench.window, clock)->interval(), kShortestTimerPeriod);
    clock->Input("TOGGLE", 0.0, nullptr);
    EXPECT_FALSE(bench.window.timerRunning(clock));

    EXPECT_EQ(bench.paper.add<ItemTimer>("Odd", "SINE 10"), nullptr);
    EXPECT_EQ(bench.paper.lastMessage(), "Bad MODE SINE 10 in Item Odd");
}

// The page left stops every timer and highlighter: on a display the next page keeps, and on
// one it drops together with its window (no tick may reach a freed item).
TEST(ItemTimer, PageChangeStopsTimersAndHighlighters) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Clocks
PAGE 1
DISPLAY Main
DISPLAY Side
PAGE 2
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM TIMER Kept
MSEC 30
}
ITEM HIGHLIGHTER Glow
LOC 10 10
@Glow
OUTPUT Cap FLASH
}
ITEM LABEL Cap
LOC 200 200
@Cap
BLINK
}
END DISPLAY
DISPLAY Side 400 0 200 300 A
ITEM TIMER Dropped
MSEC 30
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* kept = bench.item("Kept");
    Item* glow = bench.item("Glow");
    Item* cap = bench.item("Cap");
    ASSERT_TRUE(kept && glow && cap && bench.item("Dropped"));
    ChildWindow& main = *bench.display(1)->window;
    EXPECT_TRUE(main.timerRunning(kept));
    EXPECT_TRUE(bench.display(2)->window->timerRunning(bench.item("Dropped")));
    bench.press(glow);
    tickOnce(glow);
    EXPECT_EQ(cap->visibility, Visibility::Shown);

    ASSERT_TRUE(bench.build(2)) << bench.lastMessage();
    EXPECT_EQ(bench.display(1)->window.get(), &main);
    EXPECT_FALSE(kept->running);
    EXPECT_FALSE(main.timerRunning(kept));
    EXPECT_FALSE(main.timerRunning(glow));
    EXPECT_EQ(cap->visibility, Visibility::Hidden) << "the highlighter's targets are put back";
    QCoreApplication::processEvents();
}

} // namespace
} // namespace lorvenna

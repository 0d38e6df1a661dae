// HIGHLIGHTER items: the push button, one pulsing highlighter at a time, restoring targets.
#include "items/types/ItemHighlighter.h"

#include "items/RunObjects.h"
#include "tests/items/types/MotionBench.h"

#include <gtest/gtest.h>

namespace lorvenna {
namespace {

constexpr const char* kLesson = R"(Lesson 01-01 Highlighters
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM HIGHLIGHTER A
LOC 10 10
SIZE 80 30
@Lungs
OUTPUT LA FLASH
}
ITEM HIGHLIGHTER B
LOC 10 50
@Heart
OUTPUT LB FLASH
}
ITEM HIGHLIGHTER Quiet
LOC 10 90
@Quiet
HIDE
}
ITEM LABEL LA
LOC 200 50
@LA
BLINK
}
ITEM LABEL LB
LOC 200 150
@LB
BLINK
}
END DISPLAY
END LESSON
)";

TEST(ItemHighlighter, PressingBStopsAAndPutsItsTargetsBack) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(kLesson)) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* a = bench.item("A");
    Item* b = bench.item("B");
    Item* quiet = bench.item("Quiet");
    Item* la = bench.item("LA");
    Item* lb = bench.item("LB");
    ChildWindow& window = *bench.display(1)->window;
    EXPECT_EQ(a->control->geometry(), (Rect{10, 10, 80, 36})) << "made as a BUTTON's";
    EXPECT_FALSE(quiet->control->isVisible());

    bench.press(a);
    EXPECT_TRUE(window.timerRunning(a));
    EXPECT_EQ(timerOf(window, a)->interval(), kHighlighterPulseMilliseconds);
    EXPECT_EQ(la->visibility, Visibility::Hidden) << "nothing is sent at the press itself";
    tickOnce(a);
    tickOnce(a);
    EXPECT_EQ(la->visibility, Visibility::Highlighted);

    bench.press(b);
    EXPECT_FALSE(a->running);
    EXPECT_FALSE(window.timerRunning(a));
    EXPECT_EQ(la->visibility, Visibility::Hidden);
    tickOnce(b);
    EXPECT_EQ(lb->visibility, Visibility::Shown);

    // Pressed again, B keeps its targets as they are and only restarts its period.
    bench.press(b);
    EXPECT_EQ(lb->visibility, Visibility::Shown);
    EXPECT_TRUE(window.timerRunning(b));

    // One without outputs still stops the others and runs a timer of its own.
    quiet->control->show(true);
    bench.press(quiet);
    EXPECT_FALSE(window.timerRunning(b));
    EXPECT_EQ(lb->visibility, Visibility::Hidden);
    EXPECT_TRUE(window.timerRunning(quiet));
}

} // namespace
} // namespace lorvenna

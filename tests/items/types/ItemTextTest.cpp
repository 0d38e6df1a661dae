// TEXT items: wrapped layout, prompts, ACTNOW, pulsing and stopping.
#include "items/types/ItemText.h"

#include "items/AnswerKeys.h"
#include "items/Connection.h"
#include "items/Drawing.h"
#include "items/RunObjects.h"
#include "items/types/ItemButton.h"
#include "items/types/ItemLabel.h"
#include "platform/ChildWindow.h"
#include "shell/DisplayWindowProc.h"
#include "tests/items/types/ItemBench.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvenna {

namespace {

// Three texts: two pulse a label each, the third has no outputs.
constexpr const char* kPulseLesson = R"(Lesson 01-01 Pulses
PAGE 1
DISPLAY Main
PAGE 2
DISPLAY Other
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM TEXT First
LOC 10 10
@First text
OUTPUT Blinker FLASH
}
ITEM TEXT Second
LOC 10 100
@Second text
OUTPUT Seq FLASH
}
ITEM TEXT Plain
LOC 10 200
@No outputs
}
ITEM LABEL Blinker
LOC 300 50
@B
BLINK
}
ITEM LABEL Seq
LOC 200 250
SHAPE 0 30 L
@S
SEQ
}
END DISPLAY
DISPLAY Other 0 0 400 300 A
END DISPLAY
END LESSON
)";

void tick(const LessonBench& bench, Item* item) {
    displayWindowProc()->timer(*bench.display(1)->window, item);
}

} // namespace

TEST(ItemText, WrapsAtTheRightMarginAndMeasuresItsExtent) {
    FreshSession fresh;
    PaperDisplay paper(1, 120, 300);
    // The box runs from the location to 10 short of the right edge: 100 pixels, so twelve
    // characters of eight pixels fit on a line.
    auto* text = paper.add<ItemText>("Words", "LOC 10 20\n@aaaa bbbb cccc dddd");
    ASSERT_NE(text, nullptr);
    text->Draw();
    EXPECT_EQ(text->bounds, (Rect{10, 20, 82, 52}));
    EXPECT_EQ(text->width, 72);
    EXPECT_EQ(text->height, 32);
    EXPECT_EQ(text->area, 72 * 32);
    EXPECT_TRUE(paper.surface.contains("drawText \"aaaa bbbb cccc dddd\" 10,20,82,52 wordbreak"));

    // The hit region keeps the extent of the first layout.
    text->text = "aaaa bbbb cccc dddd eeee ffff";
    text->Draw();
    EXPECT_EQ(text->bounds, (Rect{10, 20, 82, 68}));
    ASSERT_TRUE(text->region);
    EXPECT_EQ(text->region->boundingBox(), (Rect{10, 20, 82, 52}));
}

TEST(ItemText, UnknownLineFailsTheBlockButActnowIsTaken) {
    FreshSession fresh;
    PaperDisplay paper;
    EXPECT_EQ(paper.add<ItemText>("Bad", "LOC 1 1\nBLINK"), nullptr);
    EXPECT_EQ(paper.lastMessage(), "Bad MODE BLINK in Item Bad");
    auto* actnow = paper.add<ItemText>("Now", "ACTNOW\n@Read me");
    ASSERT_NE(actnow, nullptr);
    EXPECT_TRUE(actnow->isCurrentQuestion);
}

TEST(ItemText, PromptIsDrawnOnlyWhileItsQuestionIsCurrent) {
    FreshSession fresh;
    FakeApp app;
    PaperDisplay paper;
    auto* prompt = paper.add<ItemText>("Ask", "LOC 10 10\n@Which one?\nKEYBUTTON Yes");
    auto* yes = paper.add<ItemButton>("Yes", "LOC 10 100\n@Yes");
    auto* later = paper.add<ItemText>("Later", "LOC 10 150\n@And now?\nKEYBUTTON Yes");
    ASSERT_TRUE(prompt && yes && later);
    ASSERT_TRUE(CheckKeys(*prompt));
    ASSERT_TRUE(CheckKeys(*later));
    prompt->StartupAction();
    later->StartupAction();

    const auto drawn = [&](const char* what) {
        paper.surface.clear();
        markAndRepaint(&paper.display);
        for (const std::string& call :
             paper.surface.callsStartingWith(std::string("drawText \"") + what + "\"")) {
            if (call.ends_with(" wordbreak"))
                return true;
        }
        return false;
    };
    EXPECT_FALSE(drawn("Which one?"));
    EXPECT_EQ(prompt->visibility, Visibility::Hidden);

    StartFirstQuestion();
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), prompt);
    EXPECT_TRUE(drawn("Which one?"));
    EXPECT_FALSE(drawn("And now?"));

    EndQuestion();
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), later);
    EXPECT_FALSE(drawn("Which one?"));
    EXPECT_TRUE(drawn("And now?"));
}

TEST(ItemText, ActnowTextPulsesFromThePageStartAndStaysDrawnWhenHidden) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Actnow
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM TEXT Now
LOC 10 10
@Read this first
ACTNOW
OUTPUT Cap FLASH
}
ITEM LABEL Cap
LOC 200 200
@Cap
BLINK
}
ITEM BUTTON Hider
LOC 10 250
@Hide
OUTPUT Now HIDE
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* now = bench.item("Now");
    Item* cap = bench.item("Cap");
    ASSERT_TRUE(now && cap);
    EXPECT_TRUE(now->running);
    EXPECT_TRUE(bench.display(1)->window->timerRunning(now));

    tick(bench, now);
    EXPECT_EQ(cap->visibility, Visibility::Shown);

    bench.press(bench.item("Hider"));
    EXPECT_EQ(now->visibility, Visibility::Hidden);
    const Rect before = now->bounds;
    now->bounds = {};
    markAndRepaint(bench.display(1));
    EXPECT_EQ(now->bounds, before) << "a hidden ACTNOW text is still laid out and drawn";
}

TEST(ItemText, ClickStopsTheOtherTextsAndPulsesItsOutputs) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(kPulseLesson)) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* first = bench.item("First");
    Item* second = bench.item("Second");
    Item* plain = bench.item("Plain");
    Item* blinker = bench.item("Blinker");
    ChildWindow& window = *bench.display(1)->window;

    bench.clickDisplay(1, 12, 12);
    EXPECT_TRUE(first->running);
    EXPECT_TRUE(window.timerRunning(first));
    EXPECT_EQ(blinker->visibility, Visibility::Hidden) << "nothing is sent at the click itself";

    tick(bench, first);
    EXPECT_EQ(blinker->visibility, Visibility::Shown);
    tick(bench, first);
    EXPECT_EQ(blinker->visibility, Visibility::Highlighted);

    bench.clickDisplay(1, 12, 102);
    EXPECT_TRUE(second->running);
    EXPECT_FALSE(first->running);
    EXPECT_FALSE(window.timerRunning(first));
    EXPECT_EQ(blinker->visibility, Visibility::Hidden)
        << "STOP restores the targets of the stopped text";

    // A text without outputs stops the others but starts no timer of its own.
    bench.clickDisplay(1, 12, 202);
    EXPECT_FALSE(second->running);
    EXPECT_FALSE(window.timerRunning(second));
    EXPECT_FALSE(plain->running);
    EXPECT_FALSE(window.timerRunning(plain));
}

TEST(ItemText, StopLeavesTheTargetsOfATextThatIsNotPulsing) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(kPulseLesson)) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* blinker = bench.item("Blinker");
    blinker->visibility = Visibility::Highlighted;
    bench.item("First")->Input("STOP", 0.0, nullptr);
    EXPECT_EQ(blinker->visibility, Visibility::Highlighted);
}

TEST(ItemText, DeletingAPulsingTextCancelsItsTimer) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(kPulseLesson)) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    ChildWindow& window = *bench.display(1)->window;

    auto* lone = new ItemText();
    lone->display = bench.display(1);
    lone->outputs = new Connection(); // a connection without target is enough to pulse
    lone->Click(bench.display(1), kLeftButtonDown, 0, 0);
    ASSERT_TRUE(window.timerRunning(lone));
    const void* key = lone;
    delete lone;
    EXPECT_FALSE(window.timerRunning(key));
}

TEST(ItemText, TextPlacedBeyondTheRightMarginStillLaysOutSafely) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Margin
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 200 100 A
ITEM TEXT Far
LOC 500 300
@Out of sight
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* far = bench.item("Far");
    EXPECT_EQ(far->bounds.left, 500);
    EXPECT_EQ(far->bounds.top, 300);
    EXPECT_GE(far->height, 0);
    EXPECT_GE(far->area, 0);
}

} // namespace lorvenna

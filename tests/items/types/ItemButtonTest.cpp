// BUTTON items: their push buttons, page turning, outputs and answers.
#include "items/types/ItemButton.h"

#include "items/AnswerKeys.h"
#include "items/RunObjects.h"
#include "tests/items/types/ItemBench.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace lorvenna {

namespace {

constexpr const char* kButtonLesson = R"(Lesson 01-01 Buttons
PAGE 1
DISPLAY Main
PAGE 2
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM BUTTON Go
LOC 20 40
SIZE 100 30
@Go on
OUTPUT Hidden APPEAR
}
ITEM BUTTON Hidden
LOC 200 40
@Surprise
HIDE
}
ITEM BUTTON Next
LOC 20 200
@Next page
TURNPAGE
OUTPUT Go HIDE
}
ITEM BUTTON Idle
LOC 200 200
@Idle
}
END DISPLAY
END LESSON
)";

} // namespace

TEST(ItemButton, PushButtonSitsAtTheLocationWithTheCaption) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(kButtonLesson)) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* go = bench.item("Go");
    ASSERT_TRUE(go->control);
    // SIZE 100 30: the button is 10 narrower and 4 lower than the item's box.
    EXPECT_EQ(go->control->geometry(), (Rect{20, 40, 110, 66}));
    auto* push = qobject_cast<QPushButton*>(bench.controlWidget(go));
    ASSERT_NE(push, nullptr);
    EXPECT_EQ(push->text(), QStringLiteral("Go on"));
    EXPECT_TRUE(go->control->isVisible());
}

TEST(ItemButton, HiddenButtonAppearsAtTheRepaintAfterAnAppear) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(kButtonLesson)) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* hidden = bench.item("Hidden");
    ASSERT_TRUE(hidden->control);
    EXPECT_FALSE(hidden->control->isVisible());

    bench.press(bench.item("Go"));
    EXPECT_EQ(hidden->visibility, Visibility::Shown);
    EXPECT_TRUE(hidden->control->isVisible());
}

TEST(ItemButton, TurnPageButtonPostsTheNextPageAndNothingElse) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(kButtonLesson)) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* next = bench.item("Next");
    const int focusBefore = bench.app.focusCount;
    EXPECT_TRUE(next->Command(notificationWord(kNotifyClicked, next->controlId)));
    EXPECT_EQ(lorvenna::lesson().currentPage(), 1) << "the controller turns the page";
    EXPECT_EQ(bench.app.posted, (std::vector<FakeApp::Posted>{{StateCode::ShowPage, 2}}));
    EXPECT_GT(bench.app.focusCount, focusBefore);
    EXPECT_EQ(bench.item("Go")->visibility, Visibility::Shown)
        << "a page-turn button sends nothing";
    EXPECT_EQ(pageOnScreen().answer.chosenItem(), nullptr);

    // On the last page it does nothing visible and still reports the press.
    ASSERT_TRUE(bench.build(2)) << bench.lastMessage();
    bench.app.posted.clear();
    next = bench.item("Next");
    EXPECT_TRUE(next->Command(notificationWord(kNotifyClicked, next->controlId)));
    EXPECT_TRUE(bench.app.posted.empty());
}

TEST(ItemButton, PressOutsideAQuestionWithoutOutputsIsNoAnswer) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(kButtonLesson)) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* idle = bench.item("Idle");
    EXPECT_FALSE(idle->Command(notificationWord(kNotifyClicked, idle->controlId)));
    // Only a press counts.
    EXPECT_FALSE(idle->Command(notificationWord(kNotifySetFocus, idle->controlId)));
    EXPECT_EQ(pageOnScreen().answer.chosenItem(), nullptr);
}

TEST(ItemButton, PressDuringAQuestionRecordsTheAnswerWithItsMarkSpot) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Answer
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM BUTTON Yes
LOC 20 40
SIZE 100 30
@Yes
}
ITEM TEXT Ask
LOC 20 100
@Yes?
KEYBUTTON Yes
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    ASSERT_TRUE(pageOnScreen().answer.questionActive());
    Item* yes = bench.item("Yes");
    EXPECT_TRUE(yes->Command(notificationWord(kNotifyClicked, yes->controlId)));
    EXPECT_EQ(pageOnScreen().answer.chosenItem(), yes);
    EXPECT_EQ(pageOnScreen().answer.markX(), 20 + 100 - 6);
    EXPECT_EQ(pageOnScreen().answer.markY(), 40);
    EXPECT_EQ(pageOnScreen().answer.feedbackDisplay(), bench.display(1));
}

TEST(ItemButton, AcceptsOnlyButtonAndCombinationKeys) {
    struct Case {
        const char* key;
        const char* error; // empty: the page starts
    };
    const Case cases[] = {
        {"KEYBUTTON Yes", ""},
        {"KEYAND Yes", ""},
        {"KEYNUM Yes 5 10", "Answerer Yes fails PreProcessKey"},
        {"KEYSHOW Yes", "Answerer Yes fails PreProcessKey"},
    };
    for (const Case& c : cases) {
        LessonBench bench;
        const std::string lesson = std::string(R"(Lesson 01-01 Keys
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM BUTTON Yes
@Yes
}
ITEM TEXT Ask
@Yes?
)") + c.key + "\n}\nEND DISPLAY\nEND LESSON\n";
        ASSERT_TRUE(bench.load(lesson)) << bench.lastMessage();
        EXPECT_EQ(static_cast<bool>(bench.build(1)), c.error[0] == '\0') << c.key;
        if (c.error[0]) {
            EXPECT_EQ(bench.lastMessage(), c.error) << c.key;
        }
    }
}

} // namespace lorvenna

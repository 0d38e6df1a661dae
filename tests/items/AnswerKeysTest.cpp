// Answer keys: checking them, judging every kind of answer, the marks and the feedback texts,
// and how one question leads to the next.
#include "items/AnswerKeys.h"

#include "items/AnswerFeedback.h"
#include "items/Drawing.h"
#include "items/Item.h"
#include "items/PageEntry.h"
#include "items/RunObjects.h"
#include "items/types/ItemButton.h"
#include "items/types/ItemEdit.h"
#include "items/types/ItemText.h"
#include "shell/Session.h"
#include "tests/items/types/ItemBench.h"
#include "tests/support/TestClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

enum class Judged { Nothing, Right, Wrong };

// A page on paper: buttons and questions on recording surfaces, the main window recorded.
struct Quiz {
    Quiz() { pageOnScreen().currentEntry = &entry; }

    Item* button(const char* title, const std::string& caption, PaperDisplay* on = nullptr) {
        return (on ? *on : paper).add<ItemButton>(title, "@" + caption);
    }
    Item* question(const char* title, const std::string& keys, PaperDisplay* on = nullptr) {
        return (on ? *on : paper).add<ItemText>(title, "@A question\n" + keys);
    }
    // The page starts: keys checked, the first question asked.
    void start() {
        for (Display* display : shownDisplays()) {
            for (Item* item = display->items; item; item = item->next)
                ASSERT_EQ(CheckKeys(*item).message(), "");
        }
        StartFirstQuestion();
    }
    // An answer given with chosen (nullptr: a click on nothing) on the paper display.
    Judged answer(Item* chosen, PaperDisplay* on = nullptr) {
        pageOnScreen().answer.choose(chosen, &(on ? *on : paper).display);
        JudgeAnswer();
        if (pageOnScreen().rightWaitStart != 0)
            return Judged::Right;
        return pageOnScreen().wrongWaitStart != 0 ? Judged::Wrong : Judged::Nothing;
    }
    // The pause has run its time.
    void endPause() {
        pageOnScreen().rightWaitStart = 0;
        pageOnScreen().wrongWaitStart = 0;
        EndQuestion();
    }

    FreshSession fresh;
    TestClock clock;
    FakeApp app;
    PaperDisplay paper;
    PageEntry entry;
};

std::string repeated(char c, int n) {
    return std::string(static_cast<std::size_t>(n), c);
}

} // namespace

TEST(AnswerKeys, NumberToleranceIsAFactorAroundTheValue) {
    struct Case {
        double expected;
        double tolerance;
        double typed;
        Judged judged;
    };
    const Case cases[] = {
        {100, 10, 90.91, Judged::Right},  {100, 10, 110, Judged::Right},
        {100, 10, 90.9, Judged::Wrong},   {100, 10, 110.01, Judged::Wrong},
        {100, -1, -12345, Judged::Right}, {-50, 10, -55, Judged::Right},
        {-50, 10, -45.46, Judged::Right}, {-50, 10, -55.01, Judged::Wrong},
        {-50, 10, -45.4, Judged::Wrong},  {0, 10, 0, Judged::Right},
        {0, 10, 0.001, Judged::Wrong},
    };
    for (const Case& c : cases) {
        Quiz quiz;
        Item* field = quiz.paper.add<ItemEdit>("Num", "KEYNUM Num " + std::to_string(c.expected) +
                                                          " " + std::to_string(c.tolerance));
        ASSERT_NE(field, nullptr);
        quiz.start();
        pageOnScreen().answer.typeNumber(c.typed);
        EXPECT_EQ(quiz.answer(field), c.judged)
            << c.expected << " +- " << c.tolerance << "% for " << c.typed;
    }
}

TEST(AnswerKeys, NumberQuestionCommentsOnWhatWasGiven) {
    struct Case {
        const char* chosen; // "Num" the field, "Hint" a text, "" nothing
        double typed;
        const char* comment;
    };
    const Case cases[] = {
        {"Num", 90.9, "You wrote 90.9\nCorrect is 100.0"},
        {"Num", 0, "You chose: 0\nCorrect is 100.0"},
        {"Hint", 0, "You chose: Look closely\nCorrect is 100.0"},
        {"", 0, "You chose nothing.\nCorrect is 100.0"},
    };
    for (const Case& c : cases) {
        Quiz quiz;
        Item* field = quiz.paper.add<ItemEdit>("Num", "KEYNUM Num 100 10");
        Item* hint = quiz.paper.add<ItemText>("Hint", "@Look closely");
        quiz.start();
        field->text = "0";
        pageOnScreen().answer.typeNumber(c.typed);
        Item* chosen = std::string(c.chosen) == "Num" ? field : (c.chosen[0] ? hint : nullptr);
        EXPECT_EQ(quiz.answer(chosen), Judged::Wrong) << c.comment;
        EXPECT_EQ(quiz.app.panelText, c.comment);
        EXPECT_EQ(quiz.app.panelWidth, 200);
        EXPECT_EQ(quiz.app.panelHeight, 4 * 16);
        if (chosen == field) {
            EXPECT_TRUE(field->text.empty()) << "a wrong number is cleared from the field";
        }
    }
}

TEST(AnswerKeys, NumberTypedBeforeTheQuestionDoesNotAnswerIt) {
    Quiz quiz;
    quiz.paper.add<ItemEdit>("Num", "KEYNUM Num 100 -1");
    Item* hint = quiz.paper.add<ItemText>("Hint", "@Look closely");
    pageOnScreen().answer.typeNumber(100);
    quiz.start();
    EXPECT_EQ(pageOnScreen().answer.typedNumber(), 0);
    // Any number is right, but a click on a text is no number.
    EXPECT_EQ(quiz.answer(hint), Judged::Wrong);
}

TEST(AnswerKeys, CombinationIsRightOnTheLastPickInAnyOrder) {
    std::vector<int> order{0, 1, 2};
    do {
        Quiz quiz;
        Item* picks[] = {quiz.button("A", "Alpha"), quiz.button("B", "Beta"),
                         quiz.button("C", "Gamma")};
        quiz.question("Q", "KEYAND A\nKEYAND B\nKEYAND C");
        quiz.start();
        EXPECT_EQ(quiz.answer(picks[order[0]]), Judged::Nothing);
        EXPECT_EQ(quiz.answer(picks[order[1]]), Judged::Nothing);
        EXPECT_EQ(quiz.answer(picks[order[2]]), Judged::Right);
        EXPECT_EQ(quiz.entry.rightCount, 1);
        EXPECT_FALSE(quiz.app.panelVisible);
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(AnswerKeys, CombinationWithARepeatedPickUsesUpThePicksAndSaysWhatWasChosen) {
    Quiz quiz;
    Item* a = quiz.button("A", "Alpha");
    Item* b = quiz.button("B", "Beta");
    quiz.button("C", "Gamma");
    quiz.question("Q", "KEYAND A\nKEYAND B\nKEYAND C");
    quiz.start();
    EXPECT_EQ(quiz.answer(a), Judged::Nothing);
    EXPECT_EQ(quiz.answer(a), Judged::Nothing);
    EXPECT_EQ(quiz.answer(b), Judged::Wrong);
    EXPECT_EQ(quiz.app.panelText,
              "You chose:\nAlpha\nAlpha\nBeta\nCorrect combination:\nAlpha\nBeta\nGamma");
    EXPECT_EQ(quiz.app.panelWidth, 250);
    EXPECT_EQ(quiz.app.panelHeight, 3 * 4 * 16);
    EXPECT_STREQ(pageOnScreen().answer.picksText(), "");
    EXPECT_EQ(quiz.entry.rightCount, 0);
}

TEST(AnswerKeys, CombinationKeyingOneTitleTwiceCountsBothOnOnePick) {
    Quiz quiz;
    Item* a = quiz.button("A", "Alpha");
    quiz.question("Q", "KEYAND A\nKEYAND a");
    quiz.start();
    EXPECT_EQ(quiz.answer(a), Judged::Right);
}

TEST(AnswerKeys, ButtonAndCombinationKeysAreJudgedAsACombinationAndCommentedAsAButton) {
    Quiz quiz;
    Item* a = quiz.button("A", "Ay");
    Item* b = quiz.button("B", "Bee");
    Item* c = quiz.button("C", "Cee");
    quiz.question("Q", "KEYBUTTON A\nKEYAND B");
    quiz.start();
    // A alone would be right as a button answer; as a combination it needs a second pick.
    EXPECT_EQ(quiz.answer(a), Judged::Nothing);
    EXPECT_EQ(quiz.answer(c), Judged::Wrong);
    EXPECT_EQ(quiz.app.panelText, "You chose: Cee\nCorrect answer: Ay");
    EXPECT_EQ(quiz.app.panelHeight, 5 * 16);
    (void)b;
}

TEST(AnswerKeys, ClickOutsideAButtonIsWrongAndSaysSo) {
    Quiz quiz;
    quiz.button("Yes", "Yes!");
    quiz.button("Also", "Also yes");
    quiz.question("Q", "KEYBUTTON Yes\nKEYBUTTON Also");
    quiz.start();
    pageOnScreen().answer.setMark(50, 60);
    EXPECT_EQ(quiz.answer(nullptr), Judged::Wrong);
    EXPECT_EQ(quiz.app.panelText, "You clicked outside a button.\nCorrect answer: Yes!");
    EXPECT_EQ(quiz.app.panelWidth, 250);
    EXPECT_EQ(quiz.app.panelHeight, 5 * 16);
    EXPECT_TRUE(quiz.paper.screen.contains("drawPicture 16x16 at 50,60"));
}

TEST(AnswerKeys, RightAnswerIsCountedMarkedAndPaused) {
    Quiz quiz;
    Item* yes = quiz.button("Yes", "Yes!");
    quiz.question("Q", "KEYBUTTON Yes");
    quiz.start();
    pageOnScreen().answer.setMark(30, 40);
    EXPECT_EQ(quiz.answer(yes), Judged::Right);
    EXPECT_EQ(pageOnScreen().rightWaitStart, quiz.clock.now());
    EXPECT_EQ(quiz.entry.rightCount, 1);
    EXPECT_EQ(quiz.paper.screen.callsStartingWith("drawPicture"),
              std::vector<std::string>{"drawPicture 16x16 at 30,40"});
    EXPECT_TRUE(pageOnScreen().timerRunning);
    EXPECT_EQ(quiz.app.timerStarts, 1);
    EXPECT_FALSE(quiz.app.panelVisible);

    // Answers during the pause change nothing.
    quiz.clock.advance(500);
    EXPECT_EQ(quiz.answer(yes), Judged::Right);
    EXPECT_EQ(pageOnScreen().rightWaitStart, quiz.clock.now() - 500);
    EXPECT_EQ(quiz.entry.rightCount, 1);
    EXPECT_EQ(quiz.paper.screen.callsStartingWith("drawPicture").size(), 1u);
}

TEST(AnswerKeys, TestLessonMarksAndCountsWithoutAPanel) {
    Quiz quiz;
    quiz.button("Yes", "Yes!");
    Item* no = quiz.button("No", "No!");
    quiz.question("Q", "KEYBUTTON Yes");
    lesson().testLesson = true;
    quiz.start();
    EXPECT_EQ(quiz.answer(no), Judged::Wrong);
    EXPECT_FALSE(quiz.app.panelVisible);
    EXPECT_EQ(quiz.paper.screen.callsStartingWith("drawPicture").size(), 1u);
}

TEST(AnswerKeys, AnswerWithoutADisplayIsJudgedButNotDrawn) {
    Quiz quiz;
    Item* no = quiz.button("No", "No!");
    quiz.button("Yes", "Yes!");
    quiz.question("Q", "KEYBUTTON Yes");
    quiz.start();
    pageOnScreen().answer.choose(no, nullptr);
    JudgeAnswer();
    EXPECT_NE(pageOnScreen().wrongWaitStart, 0u);
    EXPECT_FALSE(quiz.app.panelVisible);
    EXPECT_TRUE(quiz.paper.screen.calls().empty());
}

TEST(AnswerKeys, SpotQuestionMarksTheRightSpotsWithXOnTheirDisplay) {
    // The student answers on display 1, the right spot is on display 2, and the questions
    // are on display 3.
    Quiz quiz;
    PaperDisplay spots(2);
    PaperDisplay questions(3);
    Item* elsewhere = quiz.paper.add<ItemText>("Elsewhere", "@Not here");
    // Spots are answered through their own item type; a plain item stands in for one here.
    Item* spot = spots.add<ItemText>("Spot", "LOC 100 100");
    spot->bounds = {100, 100, 141, 121};
    Item* q = quiz.question("Q", "", &questions);
    Item* next = quiz.question("Next", "KEYBUTTON Elsewhere", &questions);
    q->keyKinds = kKeyShow;
    q->keyCount = 1;
    q->keys[0].kind = kKeyShow;
    q->keys[0].answerer = spot;
    std::snprintf(q->keys[0].answererTitle, kAnswererTitleSize, "spot");
    StartFirstQuestion();
    ASSERT_EQ(pageOnScreen().answer.currentQuestion(), q);

    pageOnScreen().answer.setMark(5, 6);
    EXPECT_EQ(quiz.answer(elsewhere), Judged::Wrong);
    EXPECT_TRUE(quiz.paper.screen.contains("drawPicture 16x16 at 5,6"));
    EXPECT_TRUE(spots.screen.contains("drawPicture 16x16 at 120,110"));
    EXPECT_EQ(pageOnScreen().answer.feedbackDisplay(), &spots.display);
    EXPECT_EQ(quiz.app.panelText, "Wrong location. X shows the correct spot.");
    EXPECT_EQ(quiz.app.panelWidth, 41 * 8);
    EXPECT_EQ(quiz.app.panelHeight, 2 * 16);

    // Both displays with marks are repainted when the question ends.
    quiz.paper.surface.clear();
    spots.surface.clear();
    quiz.endPause();
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), next);
    EXPECT_FALSE(spots.surface.callsStartingWith("fillRect").empty());
    EXPECT_FALSE(quiz.paper.surface.callsStartingWith("fillRect").empty());
    EXPECT_FALSE(quiz.app.panelVisible);
}

TEST(AnswerKeys, QuestionsFollowOneAnotherOnTheirDisplayOnly) {
    Quiz quiz;
    PaperDisplay second(2);
    Item* yes = quiz.button("Yes", "Yes!");
    Item* q1 = quiz.question("Q1", "KEYBUTTON Yes");
    Item* between = quiz.button("Between", "Not a question");
    Item* q2 = quiz.question("Q2", "KEYBUTTON Yes");
    Item* q3 = quiz.question("Q3", "KEYBUTTON Yes", &second);
    quiz.start();
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), q1);
    EXPECT_TRUE(q1->isCurrentQuestion);
    EXPECT_TRUE(pageOnScreen().questionAsked);

    EXPECT_EQ(quiz.answer(yes), Judged::Right);
    quiz.endPause();
    EXPECT_FALSE(q1->isCurrentQuestion);
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), q2);
    EXPECT_TRUE(pageOnScreen().answer.questionActive());
    EXPECT_EQ(quiz.app.timerKills, 1);

    EXPECT_EQ(quiz.answer(between), Judged::Wrong);
    quiz.endPause();
    EXPECT_FALSE(pageOnScreen().answer.questionActive());
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), nullptr);
    EXPECT_FALSE(q3->isCurrentQuestion) << "a question of another display is never asked";
    EXPECT_TRUE(pageOnScreen().questionAsked);
    EXPECT_EQ(pageOnScreen().answer.chosenItem(), nullptr);
}

TEST(AnswerKeys, AutoTurnQuestionTurnsThePageWhenItsPauseEnds) {
    for (bool right : {true, false}) {
        Quiz quiz;
        Item* yes = quiz.button("Yes", "Yes!");
        Item* no = quiz.button("No", "No!");
        quiz.question("Q", "KEYBUTTON Yes\nKEYAUTOTURN");
        quiz.question("Unasked", "KEYBUTTON Yes");
        lesson().turnTo(3);
        lesson().pageCount = 3;
        quiz.start();
        EXPECT_TRUE(pageOnScreen().answer.advanceAfterAnswer());
        EXPECT_EQ(quiz.answer(right ? yes : no), right ? Judged::Right : Judged::Wrong);
        quiz.endPause();
        EXPECT_EQ(quiz.app.posted, (std::vector<FakeApp::Posted>{{StateCode::ShowPage, 4}}));
        EXPECT_TRUE(pageOnScreen().pageClosing);
        EXPECT_FALSE(pageOnScreen().answer.questionActive());
        EXPECT_TRUE(pageOnScreen().answer.advanceAfterAnswer())
            << "state 11 clears it past the last page";
    }
}

TEST(AnswerKeys, CheckFindsTheAnswerersOrSaysWhichIsMissing) {
    Quiz quiz;
    PaperDisplay second(2);
    Item* first = quiz.button("Yes", "first");
    Item* last = quiz.button("YES", "last", &second);
    Item* q = quiz.question("Q", "KEYBUTTON yes");
    ASSERT_TRUE(CheckKeys(*q));
    EXPECT_EQ(q->keys[0].answerer, last) << "a later display replaces the answerer";
    (void)first;

    Item* lost = quiz.question("Lost", "KEYBUTTON Nobody");
    EXPECT_EQ(CheckKeys(*lost).message(), "No proper answer found for question Lost");

    Item* refused = quiz.question("Refused", "KEYNUM Yes 1 1");
    EXPECT_EQ(CheckKeys(*refused).message(), "Answerer Yes fails PreProcessKey");
}

TEST(AnswerKeys, LongTextsAreCutToThePicksAndTheMessage) {
    Quiz quiz;
    Item* a = quiz.button("A", repeated('a', 240));
    Item* b = quiz.button("B", repeated('b', 240));
    Item* c = quiz.button("C", repeated('c', 240));
    quiz.question("Q", "KEYAND A\nKEYAND B\nKEYAND C\nKEYAND D");
    Item* d = quiz.button("D", repeated('d', 240));
    quiz.start();
    for (Item* pick : {a, b, c})
        EXPECT_EQ(quiz.answer(pick), Judged::Nothing);
    EXPECT_EQ(std::string(pageOnScreen().answer.picksText()),
              ("You chose:\n" + repeated('a', 240) + "\n" + repeated('b', 240) + "\n" +
               repeated('c', 240))
                  .substr(0, 511));
    EXPECT_EQ(quiz.answer(a), Judged::Wrong);
    EXPECT_EQ(quiz.app.panelText.size(), 255u);
    EXPECT_EQ(quiz.app.panelText,
              ("You chose:\n" + repeated('a', 240) + "\n" + repeated('b', 240)).substr(0, 255));
    (void)d;
}

TEST(AnswerKeys, CombinationAskedAgainOnAKeptDisplayStartsAfresh) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Kept
PAGE 1
DISPLAY Quiz
PAGE 2
DISPLAY Quiz
DISPLAY Note
END PAGES
DISPLAY Quiz 0 0 400 300 A
ITEM BUTTON A
LOC 20 20
@Alpha
}
ITEM BUTTON B
LOC 20 80
@Beta
}
ITEM TEXT Q
LOC 20 150
@Pick both
KEYAND A
KEYAND B
}
END DISPLAY
DISPLAY Note 0 320 400 100 A
ITEM TEXT Info
@Second page
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    bench.press(bench.item("A"));
    EXPECT_EQ(pageOnScreen().wrongWaitStart + pageOnScreen().rightWaitStart, 0u);

    ASSERT_TRUE(bench.build(2)) << bench.lastMessage();
    ASSERT_EQ(pageOnScreen().answer.currentQuestion(), bench.item("Q"));
    bench.press(bench.item("B"));
    EXPECT_EQ(pageOnScreen().rightWaitStart, 0u) << "the pick of the page before does not count";
    bench.press(bench.item("A"));
    EXPECT_NE(pageOnScreen().rightWaitStart, 0u);
}

TEST(AnswerKeys, QuestionLeftUnansweredOnAKeptDisplayIsNoLongerShownAsAsked) {
    // Page 2 keeps the display of page 1's question, but asks the question of a display
    // that comes before it.
    LessonBench bench;
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Left
PAGE 1
DISPLAY Kept
PAGE 2
DISPLAY First
DISPLAY Kept
END PAGES
DISPLAY Kept 0 0 400 200 A
ITEM BUTTON Yes
LOC 20 20
@Yes
}
ITEM TEXT Ask
LOC 20 100
@Which one?
KEYBUTTON Yes
}
END DISPLAY
DISPLAY First 0 220 400 100 A
ITEM BUTTON Go
LOC 20 20
@Go
}
ITEM TEXT Next
LOC 20 60
@Go on?
KEYBUTTON Go
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* ask = bench.item("Ask");
    ASSERT_EQ(pageOnScreen().answer.currentQuestion(), ask);

    // The student turns the page without answering.
    ASSERT_TRUE(bench.build(2)) << bench.lastMessage();
    ASSERT_EQ(bench.item("Ask"), ask) << "the display is kept";
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), bench.item("Next"));
    EXPECT_FALSE(ask->isCurrentQuestion);
    // The prompt of a question no longer asked is not drawn.
    ask->bounds = {};
    markAllAndRepaint();
    EXPECT_EQ(ask->bounds, Rect{});
}

} // namespace lorvenna

// Whole answers as a student gives them: real clicks on real display windows, the answer
// pause on the test clock, the controller's tick, and the next question.
#include "items/AnswerFeedback.h"
#include "items/Drawing.h"
#include "items/Item.h"
#include "items/PageEntry.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/Picture.h"
#include "platform/QtChildWindow.h"
#include "shell/Controller.h"
#include "tests/items/types/ItemBench.h"

#include <QCursor>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace lorvenna {

namespace {

constexpr const char* kQuizLesson = R"(Lesson 01-01 Quiz
TOTAL 2
PAGE 1
DISPLAY Quiz
PAGE 2
DISPLAY Quiz
END PAGES
DISPLAY Quiz 0 0 400 300 A
ITEM BUTTON Yes
LOC 20 20
SIZE 100 30
@Yes
}
ITEM BUTTON No
LOC 20 80
SIZE 100 30
@No
}
ITEM TEXT First
LOC 20 150
@Is it so?
KEYBUTTON Yes
}
ITEM LABEL Cap
LOC 300 200
@Answer
}
ITEM TEXT Second
LOC 20 200
@Is it not?
KEYBUTTON No
KEYAUTOTURN
}
END DISPLAY
END LESSON
)";

} // namespace

TEST(AnswerFlow, RightAnswerByAButtonPausesThenAsksTheNextQuestion) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(kQuizLesson)) << bench.lastMessage();
    QuietWindow quiet;
    Controller controller(quiet);
    controller.handleState(StateCode::ShowPage, 1);
    repaintAllDisplays(); // the new window's first paint
    ASSERT_EQ(lesson().currentPage(), 1);
    ASSERT_EQ(pageOnScreen().answer.currentQuestion(), bench.item("First"));
    Display* display = bench.display(1);
    // The pointing cursor shows over the displays while a question is asked.
    EXPECT_EQ(widgetOf(*display->window)->cursor().shape(), Qt::BitmapCursor);

    bench.press(bench.item("Yes"));
    EXPECT_EQ(pageOnScreen().rightWaitStart, bench.clock.now());
    EXPECT_EQ(pageOnScreen().currentEntry->rightCount, 1);
    EXPECT_TRUE(pageOnScreen().timerRunning);
    EXPECT_TRUE(showsPicture(display, Picture::resource(PictureId::RightMark), 20 + 100 - 6, 20));

    // A second press within the pause is not another answer.
    bench.press(bench.item("Yes"));
    EXPECT_EQ(pageOnScreen().currentEntry->rightCount, 1);

    bench.clock.advance(999);
    controller.tick();
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), bench.item("First"));
    EXPECT_EQ(pageOnScreen().currentEntry->completedCount, 0);

    bench.clock.advance(1);
    controller.tick();
    EXPECT_EQ(pageOnScreen().currentEntry->completedCount, 1);
    EXPECT_EQ(pageOnScreen().currentEntry->rightCount, 1);
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), bench.item("Second"));
    EXPECT_TRUE(pageOnScreen().answer.questionActive());
    EXPECT_FALSE(pageOnScreen().timerRunning);
    EXPECT_FALSE(showsPicture(display, Picture::resource(PictureId::RightMark), 20 + 100 - 6, 20))
        << "the next repaint wipes the mark";
}

TEST(AnswerFlow, WrongClickIsMarkedWhereItWasMadeAndTheLastQuestionTurnsThePage) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(kQuizLesson)) << bench.lastMessage();
    QuietWindow quiet;
    Controller controller(quiet);
    controller.handleState(StateCode::ShowPage, 1);
    repaintAllDisplays();
    bench.press(bench.item("Yes"));
    bench.clock.advance(1000);
    controller.tick();
    ASSERT_EQ(pageOnScreen().answer.currentQuestion(), bench.item("Second"));
    ASSERT_TRUE(pageOnScreen().answer.advanceAfterAnswer());

    // The second question is a TEXT: a click on nothing is no answer, a click on an item is.
    bench.clickDisplay(1, 250, 40);
    EXPECT_EQ(pageOnScreen().wrongWaitStart, 0u);
    Item* cap = bench.item("Cap");
    const int x = (cap->bounds.left + cap->bounds.right) / 2;
    const int y = (cap->bounds.top + cap->bounds.bottom) / 2;
    bench.clickDisplay(1, x, y);
    EXPECT_EQ(pageOnScreen().wrongWaitStart, bench.clock.now());
    EXPECT_TRUE(
        showsPicture(bench.display(1), Picture::resource(PictureId::WrongMark), x - 8, y - 8));
    EXPECT_EQ(bench.app.panelText, "You chose: Answer\nCorrect answer: No");

    bench.clock.advance(3000);
    controller.tick();
    EXPECT_EQ(bench.app.posted.back().code, StateCode::ShowPage);
    EXPECT_EQ(bench.app.posted.back().page, 2);
    EXPECT_EQ(pageOnScreen().currentEntry->completedCount, 2);
    EXPECT_EQ(pageOnScreen().currentEntry->rightCount, 1);
    EXPECT_FALSE(bench.app.panelVisible);
}

} // namespace lorvenna

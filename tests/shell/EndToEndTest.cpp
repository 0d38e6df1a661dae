// The whole program on a temporary working folder: start-up, the start dialog, lesson
// selection, the index read by state 9, the first page built, and Q to quit.
#include "shell/StartUp.h"

#include "items/Display.h"
#include "items/RunObjects.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "shell/MainWindow.h"
#include "shell/Session.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestClock.h"
#include "tests/support/WorkFolder.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lorvenna {

namespace {

constexpr const char* kFirstLesson = R"(Lesson 01-01 Levers and loads
TOTAL 0
PAGE 1
DISPLAY Board
PAGE 2
DISPLAY Board
DISPLAY Notes
END PAGES
DISPLAY Board 10 40 500 300 A
ITEM TIMER Clock
LOC 10 10
}
END DISPLAY
DISPLAY Notes 10 350 500 150 N
ITEM TIMER Other
LOC 10 10
}
END DISPLAY
END LESSON
)";

constexpr const char* kSecondLesson = R"(Lesson 01-02 Pulleys
PAGE 1
END PAGES
END LESSON
)";

TEST(EndToEnd, StudentChoosesALessonSeesItsFirstPageAndQuits) {
    resetSession();
    WorkFolder folder;
    folder.write("LSNS/01-01.LSN", kFirstLesson);
    folder.write("LSNS/01-02.LSN", kSecondLesson);
    folder.addPicture();
    ScriptedBoxes boxes;
    TestClock clock;

    std::unique_ptr<MainWindow> window = startUp();
    ASSERT_NE(window, nullptr);
    QEventLoop loop;
    bool ended = false;
    window->setExitHandler([&] {
        ended = true;
        loop.quit();
    });

    // The student: starts without grades, picks the first lesson, and once its first page
    // shows, looks at it and presses Q.
    std::vector<std::string> seen;
    int pageOneDisplays = -1;
    std::string caption;
    QTimer student;
    QObject::connect(&student, &QTimer::timeout, [&] {
        if (clickModalButton("Start &ungraded")) {
            seen.push_back("start dialog");
            return;
        }
        if (modalHasButton("&Start") && selectModalListRow(0)) {
            seen.push_back("lesson selection");
            clickModalButton("&Start");
            return;
        }
        if (!activeModal() && lesson().currentPage() == 1 && !pageOnScreen().questionAsked &&
            pageOneDisplays < 0) {
            pageOneDisplays = 0;
            for ([[maybe_unused]] Display* display : shownDisplays())
                ++pageOneDisplays;
            caption = window->windowTitle().toStdString();
            QKeyEvent q(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier);
            QCoreApplication::sendEvent(window.get(), &q);
        }
    });
    student.start(1);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit); // a safety net, never reached

    window->postState(StateCode::StartDialog);
    loop.exec();
    student.stop();

    EXPECT_TRUE(ended);
    EXPECT_EQ(seen, (std::vector<std::string>{"start dialog", "lesson selection"}));
    // State 9 read the index of the lesson chosen, and state 11 built page 1.
    EXPECT_EQ(std::string(lesson().lessonName), "01-01");
    EXPECT_EQ(std::string(lesson().lessonTitle), "Lesson 01-01 Levers and loads");
    EXPECT_EQ(lesson().pageCount, 2);
    EXPECT_EQ(pageOneDisplays, 1);
    EXPECT_EQ(caption, "Lesson 01-01 Levers and loads [ Page 1 ]");
    // Quitting on page 1 scores nothing and ends without a message, the lesson torn down.
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(lesson().pages, nullptr);
    EXPECT_EQ(pageOnScreen().displays[1], nullptr);
    EXPECT_FALSE(session().student.graded);
}

} // namespace

} // namespace lorvenna

// A graded session end to end, as a student plays it on a blank key disk: registration,
// two questions answered, the lesson left early with M, the grade file and the bookmark
// on the disk byte for byte; then a second run that logs in and resumes from the bookmark.
#include "shell/StartUp.h"

#include "items/PageEntry.h"
#include "items/RunObjects.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "records/KeyDisk.h"
#include "shell/MainWindow.h"
#include "shell/Session.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestClock.h"
#include "tests/support/WorkFolder.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

constexpr const char* kLesson = R"(Lesson 02-01 Simple machines
TOTAL 4
PAGE 1
DISPLAY Ask1
PAGE 2
DISPLAY Ask2
PAGE 3
DISPLAY Read3
PAGE 4
DISPLAY Read4
END PAGES
DISPLAY Ask1 10 40 500 300 A
ITEM TEXT Q1
LOC 10 10
KEYBUTTON Lever
@Which machine is a bar turning on a fixed point?
}
ITEM BUTTON Lever
LOC 10 80
SIZE 120 34
@lever
}
ITEM BUTTON Pulley
LOC 150 80
SIZE 120 34
@pulley
}
END DISPLAY
DISPLAY Ask2 10 40 500 300 A
ITEM TEXT Q2
LOC 10 10
KEYBUTTON Wheel
@Which machine turns on an axle?
}
ITEM BUTTON Wedge
LOC 10 80
SIZE 120 34
@wedge
}
ITEM BUTTON Wheel
LOC 150 80
SIZE 120 34
@wheel
}
END DISPLAY
DISPLAY Read3 10 40 500 300 A
ITEM TEXT Note3
LOC 10 10
@A screw is an inclined plane wound around a rod.
}
END DISPLAY
DISPLAY Read4 10 40 500 300 A
ITEM TEXT Note4
LOC 10 10
@That is all.
}
END DISPLAY
END LESSON
)";

std::vector<std::uint8_t> descrambled(const std::string& bytes) {
    std::vector<std::uint8_t> plain(bytes.begin(), bytes.end());
    scramble(plain.data(), static_cast<int>(plain.size()));
    return plain;
}

int le16(const std::vector<std::uint8_t>& b, int at) {
    return static_cast<std::int16_t>(b[at] | (b[at + 1] << 8));
}

QPushButton* pageButton(MainWindow& window, const char* caption) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == QLatin1String(caption) && button->isVisible())
            return button;
    }
    return nullptr;
}

void typeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(field, &press);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(field, &enter);
}

QLineEdit* modalField(const char* name) {
    QWidget* modal = activeModal();
    QLineEdit* field = modal ? modal->findChild<QLineEdit*>(QLatin1String(name)) : nullptr;
    return field && field->isVisible() ? field : nullptr;
}

// Runs the program from state 0; the student acts through the steps, one a timer tick,
// each step waiting until the screen is ready for it.
struct Student {
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };
    std::vector<Step> steps;

    std::size_t play(MainWindow& window) {
        QEventLoop loop;
        window.setExitHandler([&] { loop.quit(); });
        std::size_t next = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (next < steps.size() && steps[next].ready()) {
                // Advance first: an action may open a modal dialog and run its own loop.
                ++next;
                steps[next - 1].act();
            }
        });
        timer.start(1);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit); // a safety net, never reached
        window.postState(StateCode::StartDialog);
        loop.exec();
        return next;
    }
};

// A step that presses the dialog's button once it shows.
Student::Step pressWhenShown(const char* caption) {
    return {[caption] { return modalHasButton(caption); },
            [caption] { clickModalButton(caption); }};
}

bool onPage(int page) {
    return !activeModal() && lesson().currentPage() == page && !pageOnScreen().pageBuilding &&
           (!pageOnScreen().questionAsked || pageOnScreen().questionAsked);
}

// Registers Ada7 on the blank stick in drive E: the first steps of a graded session.
std::vector<Student::Step> registerAda() {
    return {
        pressWhenShown("&Start with grades"),
        {[] { return modalField("control202") != nullptr; },
         [] { typeInto(modalField("control202"), "Ada7"); }},
        {[] { return modalField("control203") != nullptr; },
         [] { typeInto(modalField("control203"), "Secret"); }},
    };
}

Student::Step startFirstLesson() {
    return {[] { return modalHasButton("&Quit entirely"); },
            [] {
                selectModalListRow(0);
                clickModalButton("&Start");
            }};
}

TEST(GradedSession, RegisterPlayLeaveEarlyThenResumeFromBookmark) {
    resetSession();
    WorkFolder folder;
    folder.write("LSNS/02-01.LSN", kLesson);
    folder.addPicture();
    const std::string drive = folder.addDrive('E');
    ScriptedBoxes boxes;
    TestClock clock;
    clock.setLocalTime({2026, 12, 8, 10, 0, 0});

    {
        std::unique_ptr<MainWindow> window = startUp();
        ASSERT_NE(window, nullptr);
        MainWindow& w = *window;
        Student student;
        student.steps = registerAda();
        student.steps.push_back(startFirstLesson());
        student.steps.insert(
            student.steps.end(),
            {
                // Page 1: the right answer, then the pause runs out.
                {[] { return onPage(1) && pageOnScreen().answer.questionActive(); },
                 [&] { pageButton(w, "lever")->click(); }},
                {[] { return pageOnScreen().rightWaitStart != 0; },
                 [&] {
                     clock.advance(1000);
                     w.controller().tick();
                 }},
                {[] { return onPage(1) && !pageOnScreen().answer.questionActive(); },
                 [&] { w.button(CommandId::Ahead)->click(); }},
                // Page 2: a wrong answer, ended at once by a key.
                {[] { return onPage(2) && pageOnScreen().answer.questionActive(); },
                 [&] { pageButton(w, "wedge")->click(); }},
                {[] { return pageOnScreen().wrongWaitStart != 0; },
                 [&] {
                     QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
                     QCoreApplication::sendEvent(&w, &space);
                 }},
                {[] { return onPage(2) && !pageOnScreen().answer.questionActive(); },
                 [&] { w.button(CommandId::Ahead)->click(); }},
                // Page 3 of 4: leave the lesson, then quit from lesson selection.
                {[] { return onPage(3); },
                 [&] {
                     QKeyEvent m(QEvent::KeyPress, Qt::Key_M, Qt::NoModifier);
                     QCoreApplication::sendEvent(&w, &m);
                 }},
                pressWhenShown("&Quit entirely"),
            });
        EXPECT_EQ(student.play(w), student.steps.size());
    }

    // The key file: 256 bytes, password then ID, scrambled.
    const std::vector<std::uint8_t> key = descrambled(folder.read("drive-E/LORVENNA/KEY.GRD"));
    ASSERT_EQ(key.size(), 256u);
    EXPECT_EQ(key[0], 6);
    EXPECT_EQ(key[1], 4);
    EXPECT_EQ(std::string(key.begin() + 2, key.begin() + 12), "SecretAda7");

    // The score box, then the grade file S001 with its fields and checksum.
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_EQ(boxes.shown().back().caption, "Your score:");
    EXPECT_EQ(boxes.shown().back().text, "25.0% (Incomplete, 2 out of 4 answered)");
    const std::vector<std::uint8_t> grade =
        descrambled(folder.read("drive-E/LORVENNA/L02-01S001.GRD"));
    ASSERT_EQ(grade.size(), 60u);
    const int expected[] = {12, 8, 2026, 201, 2, 1, 4, 4};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(le16(grade, 2 * i), expected[i]) << "field " << i;
    EXPECT_EQ(std::string(grade.begin() + 16, grade.begin() + 20), "Ada7");
    EXPECT_EQ(le16(grade, 56), 12 + 8 + 2026 + 201 + 2 + 1 + 4 + 4 + 'A' + 'd' + 'a' + '7');
    EXPECT_EQ(le16(grade, 58), 0);

    // The bookmark: the lesson code, then one line a page, the page left negative.
    EXPECT_EQ(folder.read("drive-E/LORVENNA/L02-01.BMK"),
              " L 201\r\nP 1 1 1\r\nP 2 1 0\r\nP -3 0 0\r\nP 4 0 0\r\n");

    // Second run: log in with the password in other letter case and resume.
    resetSession();
    std::vector<int> countsAfterResume;
    {
        std::unique_ptr<MainWindow> window = startUp();
        ASSERT_NE(window, nullptr);
        MainWindow& w = *window;
        Student student;
        student.steps = {
            pressWhenShown("&Start with grades"),
            {[] { return modalField("control203") != nullptr; },
             [] { typeInto(modalField("control203"), "sECRET"); }},
            {[] { return modalHasButton("Start from &Bookmark"); },
             [] {
                 selectModalListRow(0);
                 clickModalButton("Start from &Bookmark");
             }},
            {[] { return onPage(3); },
             [&] {
                 for (PageEntry* e = lesson().pages; e; e = e->next) {
                     countsAfterResume.push_back(e->completedCount);
                     countsAfterResume.push_back(e->rightCount);
                 }
                 QKeyEvent q(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier);
                 QCoreApplication::sendEvent(&w, &q);
             }},
        };
        EXPECT_EQ(student.play(w), student.steps.size());
    }
    EXPECT_TRUE(session().student.graded);
    EXPECT_EQ(std::string(session().student.studentId), "Ada7");
    // Pages 1 and 2 keep their counts; page 3 was entered again and starts from 0.
    EXPECT_EQ(countsAfterResume, (std::vector<int>{1, 1, 1, 0, 0, 0, 0, 0}));
    // Quitting scored the resumed attempt as S002 and bookmarked page 3 again.
    EXPECT_EQ(descrambled(folder.read("drive-E/LORVENNA/L02-01S002.GRD")).size(), 60u);
    EXPECT_EQ(folder.read("drive-E/LORVENNA/L02-01.BMK"),
              " L 201\r\nP 1 1 1\r\nP 2 1 0\r\nP -3 0 0\r\nP 4 0 0\r\n");
}

Student::Step pressPageButton(MainWindow& w, std::function<bool()> ready, const char* caption) {
    return {std::move(ready), [&w, caption] { pageButton(w, caption)->click(); }};
}

Student::Step pressCommand(MainWindow& w, std::function<bool()> ready, CommandId id) {
    return {std::move(ready), [&w, id] { w.button(id)->click(); }};
}

Student::Step pressKey(MainWindow& w, std::function<bool()> ready, Qt::Key key) {
    return {std::move(ready), [&w, key] {
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                QCoreApplication::sendEvent(&w, &press);
            }};
}

bool asking(int page) {
    return onPage(page) && pageOnScreen().answer.questionActive();
}

bool closed(int page) {
    return onPage(page) && !pageOnScreen().answer.questionActive();
}

// A test asks each question once: going back, even in the middle of the pause after an
// answer, shows the page with its question closed, and the score is what was answered first.
TEST(GradedSession, ATestQuestionKeepsItsFirstAnswer) {
    resetSession();
    WorkFolder folder;
    std::string test = kLesson;
    test.replace(0, test.find("PAGE 1"), "Lesson 03-01 Simple machines test\nTEST 2\n");
    folder.write("LSNS/03-01.LSN", test);
    folder.addPicture();
    folder.addDrive('E');
    ScriptedBoxes boxes;
    TestClock clock;
    clock.setLocalTime({2026, 12, 9, 10, 0, 0});
    {
        std::unique_ptr<MainWindow> window = startUp();
        ASSERT_NE(window, nullptr);
        MainWindow& w = *window;
        Student student;
        student.steps = registerAda();
        student.steps.insert(
            student.steps.end(),
            {
                startFirstLesson(),
                pressPageButton(
                    w, [] { return asking(1); }, "pulley"),
                pressKey(
                    w, [] { return pageOnScreen().wrongWaitStart != 0; }, Qt::Key_Space),
                pressCommand(
                    w, [] { return closed(1); }, CommandId::Ahead),
                pressPageButton(
                    w, [] { return asking(2); }, "wheel"),
                pressCommand(
                    w, [] { return pageOnScreen().rightWaitStart != 0; }, CommandId::Back),
                // Page 1 again: nothing is asked, and the right button answers nothing.
                pressPageButton(
                    w, [] { return closed(1); }, "lever"),
                pressCommand(
                    w, [] { return closed(1); }, CommandId::Ahead),
                pressCommand(
                    w, [] { return closed(2); }, CommandId::Ahead),
                pressKey(
                    w, [] { return onPage(3); }, Qt::Key_M),
                pressWhenShown("&Quit entirely"),
            });
        EXPECT_EQ(student.play(w), student.steps.size());
    }
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_EQ(boxes.shown().back().caption, "Your score:");
    EXPECT_EQ(boxes.shown().back().text, "50.0% right first time!");
    const std::vector<std::uint8_t> grade =
        descrambled(folder.read("drive-E/LORVENNA/L03-01S001.GRD"));
    ASSERT_EQ(grade.size(), 60u);
    EXPECT_EQ(le16(grade, 8), 2);  // answered
    EXPECT_EQ(le16(grade, 10), 1); // right
}

// The grade review of a graded session may look at another student's stick ("New disk"); the
// student stays logged in, and the next grade goes to the student's own stick at once.
TEST(GradedSession, AnotherStickInTheReviewLeavesTheStudentLoggedIn) {
    resetSession();
    WorkFolder folder;
    folder.write("LSNS/02-01.LSN", kLesson);
    folder.addPicture();
    const std::string ada = folder.addDrive('E');
    const std::string kim = folder.path() + "/kim-stick";
    session().student.keyDrive = 'E';
    std::strcpy(session().student.studentId, "Kim42");
    std::strcpy(session().student.typedPassword, "Pw7");
    ASSERT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);
    std::filesystem::rename(ada, kim);
    std::filesystem::create_directory(ada);
    resetSession();
    auto swapSticks = [&] {
        std::filesystem::rename(ada, ada + ".out");
        std::filesystem::rename(kim, ada);
        std::filesystem::rename(ada + ".out", kim);
    };
    ScriptedBoxes boxes;
    boxes.onShow([&](const BoxRecord& box) {
        if (box.caption == "Your grade was not saved.")
            boxes.queue(BoxAnswer::Cancel);
    });
    TestClock clock;
    clock.setLocalTime({2026, 12, 9, 10, 0, 0});
    {
        std::unique_ptr<MainWindow> window = startUp();
        ASSERT_NE(window, nullptr);
        MainWindow& w = *window;
        Student student;
        student.steps = registerAda();
        student.steps.insert(student.steps.end(),
                             {
                                 {[] { return modalHasButton("&Quit entirely"); },
                                  [&] {
                                      swapSticks();
                                      clickModalButton("&Read grades");
                                  }},
                                 pressWhenShown("&New disk"),
                                 {[] { return modalHasButton("&New disk"); },
                                  [&] {
                                      swapSticks();
                                      clickModalButton("&Main menu");
                                  }},
                                 startFirstLesson(),
                                 pressPageButton(
                                     w, [] { return asking(1); }, "lever"),
                                 {[] { return pageOnScreen().rightWaitStart != 0; },
                                  [&] {
                                      clock.advance(1000);
                                      w.controller().tick();
                                  }},
                                 pressCommand(
                                     w, [] { return closed(1); }, CommandId::Ahead),
                                 pressKey(
                                     w, [] { return onPage(2); }, Qt::Key_M),
                                 pressWhenShown("&Quit entirely"),
                             });
        EXPECT_EQ(student.play(w), student.steps.size());
    }
    for (const BoxRecord& box : boxes.shown())
        EXPECT_NE(box.caption, "Your grade was not saved.");
    const std::vector<std::uint8_t> grade =
        descrambled(folder.read("drive-E/LORVENNA/L02-01S001.GRD"));
    ASSERT_EQ(grade.size(), 60u);
    EXPECT_EQ(std::string(grade.begin() + 16, grade.begin() + 20), "Ada7");
    EXPECT_FALSE(std::filesystem::exists(kim + "/LORVENNA/L02-01S001.GRD"));
}

} // namespace

} // namespace lorvenna

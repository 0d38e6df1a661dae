// Lesson selection: the listing, taking a selection, and the dialog driven as a student would.
#include "lesson/LessonList.h"

#include "items/RunObjects.h"
#include "lesson/LessonSelectDialog.h"
#include "lesson/LessonSelection.h"
#include "platform/MessageBox.h"
#include "shell/Session.h"
#include "tests/lesson/ScopedLocale.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/WorkFolder.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

class LessonListTest : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        LessonList::setRememberedSelection(0);
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const LessonListEntry& e : lessons.entries())
            out.push_back(e.text);
        return out;
    }

    int indexOf(const std::string& prefix) const {
        for (std::size_t i = 0; i < lessons.entries().size(); ++i) {
            if (lessons.entries()[i].text.rfind(prefix, 0) == 0)
                return static_cast<int>(i);
        }
        ADD_FAILURE() << prefix;
        return -1;
    }

    WorkFolder folder;
    LessonList lessons;
};

} // namespace

TEST_F(LessonListTest, ListsFirstLinesSortedWithoutRegardToCase) {
    folder.write("LSNS/01-01.LSN", "Lesson 01-01 banana\nTOTAL 1\n");
    folder.write("LSNS/01-02.LSN", "LESSON 01-02 Apple\n");
    folder.write("LSNS/02-01.lsn", "lesson 02-01 cherry\n");
    folder.write("LSNS/README.TXT", "not a lesson\n");
    lessons.build(lesson(), 0);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Lesson 01-01 banana", "LESSON 01-02 Apple",
                                                 "lesson 02-01 cherry"}));
    EXPECT_FALSE(lessons.bookmarkFound());
    // Listing leaves the last file's name behind, as it always has.
    EXPECT_STREQ(lesson().lessonName, "02-01");
    EXPECT_STREQ(lesson().lessonPath, "LSNS\\02-01.LSN");
}

TEST_F(LessonListTest, SortsWithoutRegardToCaseInTheUsersLocaleToo) {
    const ScopedLocale turkish = ScopedLocale::turkish();
    if (!turkish.active())
        GTEST_SKIP() << "no Turkish locale installed";
    folder.write("LSNS/01-01.LSN", "Introduction\n");
    folder.write("LSNS/01-02.LSN", "ahead\n");
    folder.write("LSNS/01-03.LSN", "iron\n");
    lessons.build(lesson(), 0);
    EXPECT_EQ(texts(), (std::vector<std::string>{"ahead", "Introduction", "iron"}));
}

TEST_F(LessonListTest, UnreadableOrEmptyFilesAreLeftOut) {
    folder.write("LSNS/01-01.LSN", "Lesson 01-01 First\n");
    std::filesystem::create_symlink(folder.path() + "/nowhere", folder.path() + "/LSNS/01-02.LSN");
    std::filesystem::create_directory(folder.path() + "/LSNS/01-03.LSN");
    folder.write("LSNS/01-04.LSN", "");
    folder.write("LSNS/01-05.LSN", "Lesson 01-05 Fifth\n");
    lessons.build(lesson(), 0);
    // Neither the first title nor an empty line may stand in for the files that gave none.
    EXPECT_EQ(texts(), (std::vector<std::string>{"Lesson 01-01 First", "Lesson 01-05 Fifth"}));
}

TEST_F(LessonListTest, GradedSessionsMarkBookmarkedLessons) {
    const std::string title(80, 'T');
    folder.write("LSNS/03-12.LSN", "Lesson 03-12 " + title + "\n");
    folder.write("LSNS/03-13.LSN", "Lesson 03-13 Other\n");
    const std::string drive = folder.addDrive('E');
    std::filesystem::create_directories(drive + "/LORVENNA");
    std::ofstream(drive + "/LORVENNA/L03-12.BMK") << " L 312\r\n";

    lessons.build(lesson(), 0);
    EXPECT_EQ(texts(), (std::vector<std::string>{("Lesson 03-12 " + title).substr(0, 72),
                                                 "Lesson 03-13 Other"}));
    EXPECT_FALSE(lessons.bookmarkFound()) << "ungraded";

    session().student.graded = true;
    session().student.keyDrive = 'E';
    lessons.build(lesson(), 'E');
    EXPECT_EQ(texts()[0], ("Lesson 03-12 " + title).substr(0, 72) + " [BOOKMARKED]");
    EXPECT_EQ(texts()[1], "Lesson 03-13 Other");
    EXPECT_TRUE(lessons.bookmarkFound());
}

TEST_F(LessonListTest, TakingAnEntrySetsTheLessonFromItsTitleOrItsFileName) {
    folder.write("LSNS/A.LSN", "  Lesson 3-12 named by the title\n");
    folder.write("LSNS/04-05.LSN", "Forces, without numbers\n");
    folder.write("LSNS/ZZ.LSN", "Nothing to go by\n");
    lessons.build(lesson(), 0);

    lesson().pageCount = 9;
    lesson().turnTo(4);
    ASSERT_EQ(lessons.take(indexOf("  Lesson 3-12"), lesson()), TakeResult::Taken);
    EXPECT_EQ(lesson().lessonMajor, 3);
    EXPECT_EQ(lesson().lessonMinor, 12);
    EXPECT_STREQ(lesson().lessonName, "03-12");
    EXPECT_STREQ(lesson().lessonPath, "LSNS\\03-12.LSN");
    EXPECT_EQ(lesson().pageCount, 0);
    EXPECT_EQ(lesson().currentPage(), 0);

    ASSERT_EQ(lessons.take(indexOf("Forces"), lesson()), TakeResult::Taken);
    EXPECT_STREQ(lesson().lessonPath, "LSNS\\04-05.LSN");
    EXPECT_EQ(lesson().lessonMajor, 4);
    EXPECT_EQ(lesson().lessonMinor, 5);

    // Neither the title nor the file name: refused with a box, the chosen lesson stays.
    ScriptedBoxes boxes;
    EXPECT_EQ(lessons.take(indexOf("Nothing"), lesson()), TakeResult::Refused);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Lesson number not found.");
    EXPECT_NE(boxes.shown()[0].text.find("LSNS\\ZZ.LSN"), std::string::npos);
    EXPECT_STREQ(lesson().lessonPath, "LSNS\\04-05.LSN");

    EXPECT_EQ(lessons.take(-1, lesson()), TakeResult::NoSelection);
    EXPECT_EQ(lessons.take(3, lesson()), TakeResult::NoSelection);
    EXPECT_STREQ(lesson().lessonPath, "LSNS\\04-05.LSN");
}

TEST_F(LessonListTest, NoLessonToListEndsWithMinusFive) {
    EXPECT_EQ(runLessonSelection(0), StateCode::BadLesson);
    folder.write("LSNS/01-01.LSN", "");
    EXPECT_EQ(runLessonSelection(0), StateCode::BadLesson);
}

namespace {

// Runs lesson selection; act is called once the dialog is up, with the dialog.
StateCode runSelection(const std::function<void(QDialog&)>& act) {
    bool acted = false;
    QTimer::singleShot(0, [&] {
        QDialog* dialog = qobject_cast<QDialog*>(activeModal());
        if (!dialog)
            return;
        acted = true;
        act(*dialog);
        // A command that should have ended the dialog but did not must not hang the test.
        QTimer::singleShot(0, [guard = QPointer<QDialog>(dialog)] {
            if (guard && guard->isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                guard->done(-99);
            }
        });
    });
    const Student& student = session().student;
    const StateCode result = runLessonSelection(student.graded ? student.keyDrive : 0);
    EXPECT_TRUE(acted) << "no modal dialog came up";
    return result;
}

QPushButton* button(QDialog& dialog, int id) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->property("controlId").toInt() == id)
            return b;
    }
    return nullptr;
}

void sendKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

void doubleClickRow(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QWidget* viewport = list->viewport();
    const QPointF global = viewport->mapToGlobal(QPointF(at));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), global, Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    }
}

} // namespace

TEST_F(LessonListTest, DialogShowsTheLessonsAndStartsOnEnter) {
    folder.write("LSNS/01-01.LSN", "Lesson 01-01 One\n");
    folder.write("LSNS/01-02.LSN", "Lesson 01-02 Two\n");
    LessonList::setRememberedSelection(1);
    QStringList shown;
    QString caption;
    bool bookmarkVisible = true;
    int selected = -1;
    const StateCode result = runSelection([&](QDialog& dialog) {
        caption = dialog.windowTitle();
        auto* list = dialog.findChild<QListWidget*>();
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        selected = list->currentRow();
        bookmarkVisible = button(dialog, 243)->isVisible();
        EXPECT_EQ(button(dialog, 1)->text(), "&Start");
        EXPECT_EQ(button(dialog, 244)->text(), "&Read grades");
        EXPECT_EQ(button(dialog, 2)->text(), "&Quit entirely");
        EXPECT_TRUE(button(dialog, 1)->isDefault());
        EXPECT_EQ(dialog.focusWidget(), list);
        sendKey(list, Qt::Key_Return);
    });
    EXPECT_EQ(result, StateCode::SetUpLesson);
    EXPECT_EQ(caption, "Selecting lesson.");
    EXPECT_EQ(shown, (QStringList{"Lesson 01-01 One", "Lesson 01-02 Two"}));
    EXPECT_EQ(selected, 1) << "the remembered entry";
    EXPECT_FALSE(bookmarkVisible) << "ungraded session";
    EXPECT_STREQ(lesson().lessonPath, "LSNS\\01-02.LSN");
}

TEST_F(LessonListTest, DialogCommandsGiveTheirResultsAndRememberTheSelection) {
    folder.write("LSNS/01-01.LSN", "Lesson 01-01 One\n");
    folder.write("LSNS/01-02.LSN", "Lesson 01-02 Two\n");
    folder.write("LSNS/01-03.LSN", "Lesson 01-03 Three\n");
    const std::string drive = folder.addDrive('E');
    std::filesystem::create_directories(drive + "/LORVENNA");
    std::ofstream(drive + "/LORVENNA/L01-03.BMK") << " L 103\r\n";
    session().student.graded = true;
    session().student.keyDrive = 'E';

    // Double-click on the second lesson starts it.
    EXPECT_EQ(
        runSelection([](QDialog& dialog) { doubleClickRow(dialog.findChild<QListWidget*>(), 1); }),
        StateCode::SetUpLesson);
    EXPECT_STREQ(lesson().lessonName, "01-02");

    // Reopened on the same entry; pick the third, then Escape quits and remembers it.
    int reopened = -1;
    EXPECT_EQ(runSelection([&](QDialog& dialog) {
                  auto* list = dialog.findChild<QListWidget*>();
                  reopened = list->currentRow();
                  list->setCurrentRow(2);
                  sendKey(list, Qt::Key_Escape);
              }),
              StateCode::Quit);
    EXPECT_EQ(reopened, 1);
    EXPECT_EQ(LessonList::rememberedSelection(), 2);

    bool visible = false;
    EXPECT_EQ(runSelection([&](QDialog& dialog) {
                  visible = button(dialog, 243)->isVisible();
                  button(dialog, 243)->click();
              }),
              StateCode::ResumeLesson);
    EXPECT_TRUE(visible);
    EXPECT_STREQ(lesson().lessonPath, "LSNS\\01-03.LSN");

    EXPECT_EQ(runSelection([](QDialog& dialog) { button(dialog, 244)->click(); }),
              StateCode::GradeReview);
    EXPECT_EQ(runSelection([](QDialog& dialog) { button(dialog, 2)->click(); }), StateCode::Quit);
}

TEST_F(LessonListTest, DialogStaysOpenWhenTheEntryNamesNoLesson) {
    folder.write("LSNS/INTRO.LSN", "Welcome\n");
    ScriptedBoxes boxes;
    bool stillOpen = false;
    const StateCode result = runSelection([&](QDialog& dialog) {
        button(dialog, 1)->click();
        stillOpen = dialog.isVisible() && qobject_cast<QDialog*>(activeModal()) == &dialog;
        button(dialog, 2)->click();
    });
    EXPECT_EQ(result, StateCode::Quit);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Lesson number not found.");
}

} // namespace lorvenna

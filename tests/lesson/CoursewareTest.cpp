// The sample course that `make run` opens: every lesson reads, every page of it builds, and
// every question it asks is judged right when it is answered the way its own keys say.
#include "items/Display.h"
#include "items/Drawing.h"
#include "items/Item.h"
#include "items/KeyEntry.h"
#include "items/PageEntry.h"
#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "lesson/PageBuilder.h"
#include "platform/ChildWindow.h"
#include "platform/Clock.h"
#include "platform/Control.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "platform/QtChildWindow.h"
#include "shell/Controller.h"
#include "shell/DisplayWindowProc.h"
#include "shell/Session.h"
#include "tests/support/FakeApp.h"
#include "tests/support/QuietWindow.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TestClock.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace lorvenna {

namespace {

// The widget of an item's control: the child of its display window at the control's place.
QWidget* controlWidget(const Item* item) {
    if (!item || !item->control || !item->display || !item->display->window)
        return nullptr;
    const Rect place = item->control->geometry();
    for (QWidget* child : widgetOf(*item->display->window)->findChildren<QWidget*>()) {
        const QRect g = child->geometry();
        if (g.x() == place.left && g.y() == place.top && g.width() == place.width() &&
            g.height() == place.height())
            return child;
    }
    return nullptr;
}

void press(const Item* button) {
    auto* push = qobject_cast<QAbstractButton*>(controlWidget(button));
    ASSERT_NE(push, nullptr) << (button ? button->title : "no button");
    EXPECT_FALSE(push->isHidden()) << button->title << " cannot be pressed";
    push->click();
}

// Types the number into the field key by key and confirms it with Enter.
void typeNumber(const Item* field, double value) {
    auto* edit = qobject_cast<QPlainTextEdit*>(controlWidget(field));
    ASSERT_NE(edit, nullptr) << (field ? field->title : "no field");
    char digits[32];
    std::snprintf(digits, sizeof digits, "%g\r", value);
    for (const char* c = digits; *c; ++c) {
        const int key = *c == '\r' ? int{Qt::Key_Return} : int{QChar::fromLatin1(*c).unicode()};
        QKeyEvent keyPress(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar::fromLatin1(*c)));
        QCoreApplication::sendEvent(edit, &keyPress);
    }
}

// A left click in the middle of a zone, as its display window gets it.
void clickInside(const Item* zone) {
    ASSERT_TRUE(zone && zone->display && zone->display->window);
    const int x = (zone->bounds.left + zone->bounds.right) / 2;
    const int y = (zone->bounds.top + zone->bounds.bottom) / 2;
    displayWindowProc()->leftButtonDown(*zone->display->window, x, y);
}

// Answers the current question the way its keys call right: by the rule that judges it.
void answerFromKeys(const Item& question) {
    const KeyEntry& first = question.keys[0];
    if (question.keyKinds & kKeyNum)
        return typeNumber(first.answerer, first.expected);
    if (question.keyKinds & kKeyShow)
        return clickInside(first.answerer);
    if (question.keyKinds & kKeyAnd) {
        for (int k = 0; k < question.keyCount; ++k)
            press(question.keys[k].answerer);
        return;
    }
    press(first.answerer);
}

class Courseware : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        setWorkingFolder(std::string(LORVENNA_SOURCE_DIR) + "/courseware");
        app_ = std::make_unique<FakeApp>();
    }
    void TearDown() override {
        lessonTeardown();
        app_.reset();
        resetSession();
    }

    void open(const std::string& file) {
        formatText(lorvenna::lesson().lessonPath, "LSNS\\%s", file.c_str());
        ASSERT_TRUE(succeeded(readLessonIndex())) << file;
        ASSERT_GT(lorvenna::lesson().pageCount, 0) << file;
    }

    // Shows every page in turn and answers each question asked on it from its own keys,
    // letting every answer pause run out. Returns the answers judged right.
    int playAnsweringFromKeys(const std::string& file) {
        QuietWindow quiet;
        Controller controller(quiet);
        int right = 0;
        for (int page = 1; page <= lorvenna::lesson().pageCount; ++page) {
            EXPECT_TRUE(succeeded(buildPage(page))) << file << " page " << page;
            if (lorvenna::lesson().currentPage() != page)
                return right;
            repaintAllDisplays(); // the new windows' first paint, which gives zones their regions
            // A lesson opens with a page that explains and closes with one that sums up:
            // the last question's page turn must lead there, not end the lesson unseen.
            if (page == 1 || page == lorvenna::lesson().pageCount) {
                EXPECT_FALSE(pageOnScreen().answer.questionActive()) << file << " page " << page;
            }
            for (int asked = 0; pageOnScreen().answer.questionActive() && asked < kMaxKeys;
                 ++asked) {
                const std::string title = pageOnScreen().answer.currentQuestion()->title;
                answerFromKeys(*pageOnScreen().answer.currentQuestion());
                EXPECT_NE(pageOnScreen().rightWaitStart, 0u)
                    << file << " page " << page << ": " << title << " not judged right";
                if (pageOnScreen().rightWaitStart == 0 && pageOnScreen().wrongWaitStart == 0)
                    return right; // not taken as an answer at all
                clock_.advance(3000);
                controller.tick();
            }
            right += pageOnScreen().currentEntry->rightCount;
        }
        return right;
    }

    static Item* findItem(const char* title) {
        for (Display* display : shownDisplays()) {
            for (Item* item = display->items; item; item = item->next) {
                if (item->title == title)
                    return item;
            }
        }
        return nullptr;
    }

    std::unique_ptr<FakeApp> app_;
    TestClock clock_;
    ScriptedBoxes boxes_; // a failure must not wait for a click on its box
};

TEST_F(Courseware, EveryLessonBuildsEveryPage) {
    const std::vector<std::string> lessons = findFiles("LSNS\\*.LSN");
    ASSERT_GE(lessons.size(), 6u);
    for (const std::string& lesson : lessons) {
        open(lesson);
        for (int page = 1; page <= lorvenna::lesson().pageCount; ++page)
            ASSERT_TRUE(succeeded(buildPage(page))) << lesson << " page " << page;
        lessonTeardown();
    }
    EXPECT_TRUE(fileExists("BMPS\\*.BMP"));
    // The help viewer shows the first 2040 bytes of a text; nothing may be cut off. Its field
    // is 48 average characters wide: longer lines would break again at ragged places.
    for (const char* help : {"STARTUP", "CREDITS", "REPORT", "REGULAR1", "REGULAR2", "TESTING"}) {
        const std::string path = std::string(LORVENNA_SOURCE_DIR) + "/courseware/HELP/" + help;
        std::error_code error;
        EXPECT_LE(std::filesystem::file_size(path + ".TXT", error), 2040u) << help << error;
        std::ifstream in(path + ".TXT", std::ios::binary);
        for (std::string line; std::getline(in, line);)
            EXPECT_LE(line.size(), 44u) << help << ": " << line;
    }
}

// Every question is reached, answered from its keys and counted, so a lesson scores 100
// per cent when played right: its TOTAL or TEST line counts exactly its questions.
TEST_F(Courseware, EveryQuestionIsRightWhenAnsweredFromItsKeys) {
    for (const std::string& lesson : findFiles("LSNS\\*.LSN")) {
        open(lesson);
        EXPECT_EQ(playAnsweringFromKeys(lesson), lorvenna::lesson().questionTotal) << lesson;
        lessonTeardown();
    }
}

TEST_F(Courseware, FirstLessonKeepsItsFigureAcrossPages) {
    setText(lorvenna::lesson().lessonPath, "LSNS\\01-01.LSN");
    ASSERT_TRUE(succeeded(readLessonIndex()));
    EXPECT_EQ(lorvenna::lesson().pageCount, 5);
    EXPECT_EQ(lorvenna::lesson().questionTotal, 0);
    ASSERT_TRUE(succeeded(buildPage(1)));
    Display* figure = pageOnScreen().displays[2];
    ASSERT_NE(figure, nullptr);
    EXPECT_EQ(figure->name, "Figure");
    ASSERT_TRUE(succeeded(buildPage(2)));
    EXPECT_EQ(pageOnScreen().displays[2], figure);
    EXPECT_TRUE(figure->reused);
    EXPECT_EQ(pageOnScreen().displays[3]->name, "Notes1");
    // The labels lit by the notes start hidden: BLINK and SEQ labels wait for a FLASH.
    ASSERT_NE(findItem("Radius"), nullptr);
    EXPECT_EQ(findItem("Radius")->visibility, Visibility::Hidden);
    EXPECT_EQ(findItem("Diameter")->visibility, Visibility::Hidden);
    EXPECT_EQ(findItem("Circumference")->visibility, Visibility::Shown);
}

TEST_F(Courseware, QuestionLessonAsksOneQuestionAPage) {
    setText(lorvenna::lesson().lessonPath, "LSNS\\01-02.LSN");
    ASSERT_TRUE(succeeded(readLessonIndex()));
    EXPECT_EQ(lorvenna::lesson().questionTotal, 4);
    EXPECT_FALSE(lorvenna::lesson().testLesson);
    const char* questions[] = {"Question1", "Question2", "Distance", "Question4"};
    for (int page = 2; page <= 5; ++page) {
        ASSERT_TRUE(succeeded(buildPage(page)));
        ASSERT_TRUE(pageOnScreen().answer.questionActive()) << "page " << page;
        ASSERT_NE(pageOnScreen().answer.currentQuestion(), nullptr);
        EXPECT_EQ(pageOnScreen().answer.currentQuestion()->title, questions[page - 2]);
        EXPECT_TRUE(pageOnScreen().answer.advanceAfterAnswer()) << "page " << page;
        EXPECT_TRUE(pageOnScreen().questionAsked);
    }
}

// A zone is a part of a picture the student clicks: its outline must lie on a picture of its
// display, or the clicks on the part it names find nothing (an outline turning the wrong way
// ends up beside the picture, and a test clicking its own outline would never notice), and
// its answer mark must land on the part.
TEST_F(Courseware, EveryZoneLiesOnAPictureAndIsMarkedOnIt) {
    for (const std::string& lesson : findFiles("LSNS\\*.LSN")) {
        open(lesson);
        for (int page = 1; page <= lorvenna::lesson().pageCount; ++page) {
            ASSERT_TRUE(buildPage(page)) << lesson << " page " << page;
            repaintAllDisplays();
            for (Display* display : shownDisplays()) {
                for (const Item* zone = display->items; zone; zone = zone->next) {
                    if (!zone->isType(ItemType::Zone))
                        continue;
                    ASSERT_TRUE(zone->region) << lesson << " " << zone->title;
                    const Rect outline = zone->region->boundingBox();
                    bool onPicture = false;
                    for (const Item* bmp = display->items; bmp; bmp = bmp->next) {
                        onPicture |=
                            bmp->isType(ItemType::Bmp) && outline.left >= bmp->bounds.left &&
                            outline.top >= bmp->bounds.top && outline.right <= bmp->bounds.right &&
                            outline.bottom <= bmp->bounds.bottom;
                    }
                    EXPECT_TRUE(onPicture) << lesson << " page " << page << ": zone " << zone->title
                                           << " at " << outline.left << "," << outline.top << " - "
                                           << outline.right << "," << outline.bottom;
                    // Its answer mark goes at its location plus half its size: on the part
                    // only when the outline starts at its upper left.
                    const int markX = truncateCoordinate(zone->pose.x + zone->width / 2);
                    const int markY = truncateCoordinate(zone->pose.y + zone->height / 2);
                    EXPECT_TRUE(markX >= zone->bounds.left && markX <= zone->bounds.right &&
                                markY >= zone->bounds.top && markY <= zone->bounds.bottom)
                        << lesson << " page " << page << ": zone " << zone->title
                        << " marks its answer at " << markX << "," << markY << ", off the part";
                }
            }
        }
        lessonTeardown();
    }
}

TEST_F(Courseware, TestLessonsAreMarkedAsTests) {
    for (const char* lesson : {"01-03.LSN", "02-06.LSN"}) {
        open(lesson);
        EXPECT_TRUE(lorvenna::lesson().testLesson) << lesson;
        EXPECT_EQ(lorvenna::lesson().questionTotal, 4) << lesson;
        lessonTeardown();
    }
}

} // namespace
} // namespace lorvenna

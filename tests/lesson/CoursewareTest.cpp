// The sample course that `make run` opens: every lesson reads, and every page of it builds.
#include "items/Item.h"
#include "lesson/Display.h"
#include "lesson/LessonIndex.h"
#include "lesson/PageBuilder.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "shell/SessionState.h"
#include "tests/support/FakeApp.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvenna {

namespace {

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

    // Opens the lesson and builds each of its pages in turn.
    void buildEveryPage(const std::string& file) {
        SessionState& s = session();
        formatText(s.lessonPath, "LSNS\\%s", file.c_str());
        ASSERT_TRUE(readLessonIndex()) << file << ": " << s.errorText;
        ASSERT_GT(s.pageCount, 0) << file;
        for (int page = 1; page <= s.pageCount; ++page)
            ASSERT_TRUE(buildPage(page)) << file << " page " << page << ": " << s.errorText;
        lessonTeardown();
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
};

TEST_F(Courseware, EveryLessonBuildsEveryPage) {
    const std::vector<std::string> lessons = findFiles("LSNS\\*.LSN");
    ASSERT_GE(lessons.size(), 3u);
    for (const std::string& lesson : lessons)
        buildEveryPage(lesson);
    EXPECT_TRUE(fileExists("BMPS\\*.BMP"));
    for (const char* help : {"STARTUP", "CREDITS", "REPORT", "REGULAR1", "REGULAR2", "TESTING"})
        EXPECT_TRUE(fileExists(std::string("HELP\\") + help + ".TXT")) << help;
}

TEST_F(Courseware, FirstLessonKeepsItsFigureAcrossPages) {
    SessionState& s = session();
    setText(s.lessonPath, "LSNS\\01-01.LSN");
    ASSERT_TRUE(readLessonIndex()) << s.errorText;
    EXPECT_EQ(s.pageCount, 3);
    EXPECT_EQ(s.questionTotal, 0);
    ASSERT_TRUE(buildPage(1)) << s.errorText;
    Display* figure = s.displays[2];
    ASSERT_NE(figure, nullptr);
    EXPECT_EQ(figure->name, "Figure");
    ASSERT_TRUE(buildPage(2)) << s.errorText;
    EXPECT_EQ(s.displays[2], figure);
    EXPECT_TRUE(figure->reused);
    EXPECT_EQ(s.displays[3]->name, "Notes2");
    // The labels lit by the notes start hidden: BLINK and SEQ labels wait for a FLASH.
    ASSERT_NE(findItem("Radius"), nullptr);
    EXPECT_EQ(findItem("Radius")->visibility, 0);
    EXPECT_EQ(findItem("Diameter")->visibility, 0);
    EXPECT_EQ(findItem("Circumference")->visibility, 1);
}

TEST_F(Courseware, QuestionLessonAsksOneQuestionAPage) {
    SessionState& s = session();
    setText(s.lessonPath, "LSNS\\01-02.LSN");
    ASSERT_TRUE(readLessonIndex()) << s.errorText;
    EXPECT_EQ(s.questionTotal, 4);
    EXPECT_FALSE(s.testLesson);
    const char* questions[] = {"Question1", "Question2", "Distance", "Question4"};
    for (int page = 1; page <= 4; ++page) {
        ASSERT_TRUE(buildPage(page)) << s.errorText;
        ASSERT_TRUE(s.answer.questionActive()) << "page " << page;
        ASSERT_NE(s.answer.currentQuestion(), nullptr);
        EXPECT_EQ(s.answer.currentQuestion()->title, questions[page - 1]);
        EXPECT_TRUE(s.answer.advanceAfterAnswer()) << "page " << page;
        EXPECT_EQ(s.stateCode, StateCode::QuestionAsked);
    }
}

TEST_F(Courseware, TestLessonIsMarkedAsATest) {
    SessionState& s = session();
    setText(s.lessonPath, "LSNS\\01-03.LSN");
    ASSERT_TRUE(readLessonIndex()) << s.errorText;
    EXPECT_TRUE(s.testLesson);
    EXPECT_EQ(s.questionTotal, 3);
}

} // namespace

} // namespace lorvenna

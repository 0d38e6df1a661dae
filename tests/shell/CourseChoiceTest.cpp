// The command line and the course folder chosen before start-up.
#include "shell/CourseChoice.h"

#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "shell/StartUp.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/WorkFolder.h"

#include <QDir>
#include <QSettings>

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace lorvenna {
namespace {

namespace fsys = std::filesystem;

TEST(CommandLine, ChooseCourseOrAPreviewOfOneLessonAndNothingElse) {
    struct Case {
        std::vector<const char*> arguments;
        CommandLineRequest request;
        std::string unknown;
        std::string lessonFile = "";
        int page = 1;
    };
    const Case cases[] = {
        {{}, CommandLineRequest::Play, ""},
        {{"--choose-course"}, CommandLineRequest::ChooseCourse, ""},
        {{"--choose-course", "--help"}, CommandLineRequest::Help, ""},
        {{"-h"}, CommandLineRequest::Help, ""},
        {{"--choose"}, CommandLineRequest::Unknown, "--choose"},
        {{"--choose-course", "LSNS"}, CommandLineRequest::Unknown, "LSNS"},
        {{""}, CommandLineRequest::Unknown, ""},
        {{"--preview"}, CommandLineRequest::Preview, ""},
        {{"--preview", "LSNS/02-01.LSN"}, CommandLineRequest::Preview, "", "LSNS/02-01.LSN"},
        {{"--preview", "LSNS/02-01.LSN", "4"},
         CommandLineRequest::Preview,
         "",
         "LSNS/02-01.LSN",
         4},
        {{"--preview", "LSNS/02-01.LSN", "0"}, CommandLineRequest::Unknown, "0", "LSNS/02-01.LSN"},
        {{"--preview", "A.LSN", "2x"}, CommandLineRequest::Unknown, "2x", "A.LSN"},
        {{"--preview", "A.LSN", "2", "3"}, CommandLineRequest::Unknown, "3", "A.LSN", 2},
        {{"--preview", "--choose-course"}, CommandLineRequest::Unknown, "--choose-course"},
        {{"--choose-course", "--preview"}, CommandLineRequest::Unknown, "--preview"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"lorvenna"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const CommandLine line = parseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(line.request, c.request) << argv.size();
        EXPECT_EQ(line.unknown, c.unknown);
        EXPECT_EQ(line.lessonFile, c.lessonFile);
        EXPECT_EQ(line.page, c.page);
    }
}

// A settings file of its own in the test's folder, and the current folder put back after.
class CourseChoiceTest : public testing::Test {
protected:
    CourseChoiceTest()
        : settings_(QString::fromStdString(folder_.path() + "/lorvenna.conf"),
                    QSettings::IniFormat),
          previous_(fsys::current_path()) {}
    ~CourseChoiceTest() override { fsys::current_path(previous_); }

    // A course folder under the test's folder, with a lesson and a picture.
    std::string makeCourse(const std::string& name) const {
        folder_.write(name + "/LSNS/01-01.LSN", "Lesson 01-01 One\nEND PAGES\n");
        folder_.write(name + "/BMPS/BLANK.BMP", "BM");
        return fsys::canonical(folder_.path() + "/" + name).string();
    }

    // Answers the dialog with answer and notes where it opened.
    bool choose(const std::string& sample, const std::string& answer) {
        return chooseCourse(settings_, sample, [this, answer](const std::string& start) {
            openedOn_ = start;
            return answer;
        });
    }

    WorkFolder folder_;
    QSettings settings_;
    fsys::path previous_;
    std::string openedOn_;
};

TEST_F(CourseChoiceTest, FirstTheSampleThenTheFolderChosenLast) {
    const std::string sample = makeCourse("share/lorvenna/courseware");
    const std::string mine = makeCourse("My Course");
    folder_.write("bin/.keep", "");
    ASSERT_EQ(installedSampleCourse(folder_.path() + "/bin"), sample);

    ASSERT_TRUE(choose(sample, mine));
    EXPECT_EQ(openedOn_, sample);
    EXPECT_EQ(fsys::current_path().string(), mine);
    // Started there as if from a terminal in that folder: the start-up checks find the course.
    setWorkingFolder(fsys::current_path().string());
    ScriptedBoxes boxes;
    EXPECT_TRUE(checkWorkingFolder());
    EXPECT_TRUE(boxes.shown().empty());

    // A new run remembers the choice, read back from the file.
    QSettings again(settings_.fileName(), QSettings::IniFormat);
    ASSERT_TRUE(chooseCourse(again, sample, [&](const std::string& start) {
        openedOn_ = start;
        return sample;
    }));
    EXPECT_EQ(openedOn_, mine);
}

TEST_F(CourseChoiceTest, AFolderGoneFallsBackToTheSampleThenHome) {
    const std::string sample = makeCourse("sample");
    const std::string gone = makeCourse("gone");
    ASSERT_TRUE(choose(sample, gone));
    fsys::remove_all(gone);

    EXPECT_FALSE(choose(sample, ""));
    EXPECT_EQ(openedOn_, sample);
    EXPECT_FALSE(choose(folder_.path() + "/no-sample", ""));
    EXPECT_EQ(openedOn_, QDir::homePath().toStdString());
    EXPECT_EQ(installedSampleCourse(folder_.path() + "/bin"), "");
}

TEST_F(CourseChoiceTest, CancelledOrUnenterableChangesNothing) {
    const std::string sample = makeCourse("sample");
    const std::string mine = makeCourse("mine");
    ASSERT_TRUE(choose(sample, mine));
    fsys::current_path(previous_);

    EXPECT_FALSE(choose(sample, ""));
    ScriptedBoxes boxes;
    EXPECT_FALSE(choose(sample, folder_.path() + "/vanished"));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Cannot open the course folder.");
    EXPECT_EQ(fsys::current_path(), previous_);
    EXPECT_EQ(settings_.value("courseFolder").toString().toStdString(), mine);
}

} // namespace
} // namespace lorvenna

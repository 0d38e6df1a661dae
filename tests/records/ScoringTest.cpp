// Scoring at the end of a lesson: the score box, the grade file and the bookmark.
#include "records/Scoring.h"

#include "items/AppServices.h"
#include "items/RunObjects.h"
#include "platform/Clock.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "records/GradeRecord.h"
#include "records/KeyDisk.h"
#include "shell/Session.h"
#include "tests/support/FakeApp.h"
#include "tests/support/SaveFaults.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestClock.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

class ScoringTest : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        installAppServices(&app);
        clock.setLocalTime(LocalTime{2009, 5, 7, 14, 30, 0});
        lesson().lessonMajor = 3;
        lesson().lessonMinor = 12;
        lesson().questionTotal = 10;
    }

    void TearDown() override { lesson().pages = nullptr; }

    // Pages with their (completed, right) counts; the page shown is marked current.
    void setPages(const std::vector<std::pair<int, int>>& counts, int current) {
        entries.clear();
        PageEntry* previous = nullptr;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            auto entry = std::make_unique<PageEntry>();
            entry->pageNumber = static_cast<std::int32_t>(i + 1);
            entry->completedCount = counts[i].first;
            entry->rightCount = counts[i].second;
            entry->isCurrent = static_cast<int>(i + 1) == current;
            if (previous)
                previous->next = entry.get();
            previous = entry.get();
            entries.push_back(std::move(entry));
        }
        lesson().pages = entries.empty() ? nullptr : entries.front().get();
        lesson().turnTo(current);
        lesson().pageCount = static_cast<std::int32_t>(counts.size());
    }

    // A registered key disk in drive E and a student logged in with the password.
    void graded(const char* typedPassword = "Pw7") {
        work->addDrive('E');
        session().student.keyDrive = 'E';
        setText(session().student.studentId, "Kim42");
        setText(session().student.typedPassword, "Pw7");
        ASSERT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);
        setText(session().student.typedPassword, typedPassword);
        session().student.graded = true;
    }

    static std::string gradePath(int sequence) {
        char name[64];
        std::snprintf(name, sizeof name, "drive-E/LORVENNA/L03-12S%03d.GRD", sequence);
        return name;
    }

    // Grade files S001 to the last given, each 60 bytes of 'x'.
    void fillSequences(int last) {
        work->write(gradePath(1), std::string(60, 'x'), false); // makes the folder
        for (int sequence = 2; sequence <= last; ++sequence) {
            std::FILE* file = std::fopen((work->path() + "/" + gradePath(sequence)).c_str(), "wb");
            ASSERT_NE(file, nullptr);
            std::fwrite(std::string(60, 'x').data(), 1, 60, file);
            std::fclose(file);
        }
    }

    GradeRecord readGrade(int sequence) const {
        const std::string bytes = work->read(gradePath(sequence));
        GradeRecord::Bytes disk{};
        EXPECT_EQ(bytes.size(), 60u);
        for (std::size_t i = 0; i < disk.size() && i < bytes.size(); ++i)
            disk[i] = static_cast<std::uint8_t>(bytes[i]);
        return GradeRecord::fromDisk(disk);
    }

    std::unique_ptr<WorkFolder> work = std::make_unique<WorkFolder>();
    TestClock clock;
    ScriptedBoxes boxes;
    FakeApp app;
    std::vector<std::unique_ptr<PageEntry>> entries;
};

} // namespace

TEST(ScoreText, CompleteAndIncompleteForms) {
    EXPECT_EQ(scoreText(8, 10, 10), "80.0% right first time!");
    EXPECT_EQ(scoreText(5, 6, 10), "50.0% (Incomplete, 6 out of 10 answered)");
    // More completed than the lesson's total is not complete either.
    EXPECT_EQ(scoreText(10, 12, 10), "100.0% (Incomplete, 12 out of 10 answered)");
    EXPECT_EQ(scoreText(2, 3, 3), "66.7% right first time!");
}

TEST_F(ScoringTest, NothingIsScoredOnPageOneOrWithoutTotal) {
    graded();
    setPages({{2, 2}, {0, 0}}, 1);
    EXPECT_EQ(scoreLesson(session().student), ScoreOutcome::NotScored);
    setPages({{2, 2}, {0, 0}}, 2);
    lesson().questionTotal = 0;
    EXPECT_EQ(scoreLesson(session().student), ScoreOutcome::NotScored);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(work->exists(gradePath(1)));
}

TEST_F(ScoringTest, UngradedSessionOnlyShowsTheScore) {
    work->addDrive('E');
    setPages({{3, 2}, {3, 3}, {0, 0}}, 3);
    EXPECT_EQ(scoreLesson(session().student), ScoreOutcome::Shown);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Your score:");
    EXPECT_EQ(boxes.shown()[0].text, "50.0% (Incomplete, 6 out of 10 answered)");
    EXPECT_EQ(boxes.shown()[0].buttons, BoxButtons::Ok);
    EXPECT_TRUE(app.statusTexts.empty());
    EXPECT_FALSE(work->exists("drive-E/LORVENNA"));
}

TEST_F(ScoringTest, GradedSessionWritesTheGradeAndABookmark) {
    graded("pW7"); // typed in other letter case at login
    setPages({{4, 3}, {4, 4}, {2, 1}, {0, 0}}, 3);
    EXPECT_EQ(scoreLesson(session().student), ScoreOutcome::GradeSaved);

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "80.0% right first time!");
    EXPECT_EQ(app.statusTexts, std::vector<std::string>{"Writing grades to disk"});

    const GradeRecord grade = readGrade(1);
    EXPECT_EQ(grade.month, 5);
    EXPECT_EQ(grade.day, 7);
    EXPECT_EQ(grade.year, 2009);
    EXPECT_EQ(grade.lessonCode, 312);
    EXPECT_EQ(grade.answered, 10);
    EXPECT_EQ(grade.right, 8);
    EXPECT_EQ(grade.possible, 10);
    EXPECT_EQ(grade.storedName(), "Kim42");
    EXPECT_TRUE(grade.checksumHolds());
    EXPECT_TRUE(work->exists("drive-E/LORVENNA/L03-12.BMK"));
}

TEST_F(ScoringTest, NoBookmarkOnTheLastPage) {
    graded();
    setPages({{4, 3}, {4, 4}}, 2);
    EXPECT_EQ(scoreLesson(session().student), ScoreOutcome::GradeSaved);
    EXPECT_TRUE(work->exists(gradePath(1)));
    EXPECT_FALSE(work->exists("drive-E/LORVENNA/L03-12.BMK"));
}

TEST_F(ScoringTest, NextGradeTakesTheFirstFreeNumber) {
    graded();
    setPages({{1, 1}, {1, 0}}, 2);
    for (int sequence : {1, 2, 4})
        work->write(gradePath(sequence), std::string(60, 'x'), false);
    EXPECT_EQ(scoreLesson(session().student), ScoreOutcome::GradeSaved);
    EXPECT_TRUE(readGrade(3).checksumHolds());
    EXPECT_EQ(work->read(gradePath(4)), std::string(60, 'x'));
}

TEST_F(ScoringTest, ThousandthAttemptOverwritesNothingAndSaysSo) {
    graded();
    setPages({{1, 1}, {1, 0}, {0, 0}}, 2);
    fillSequences(999);
    EXPECT_EQ(scoreLesson(session().student), ScoreOutcome::GradeNotSaved);
    EXPECT_EQ(work->read(gradePath(999)), std::string(60, 'x'));
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].caption, "No room for another grade of this lesson.");
    EXPECT_TRUE(work->exists("drive-E/LORVENNA/L03-12.BMK"));
}

TEST_F(ScoringTest, ARefusedGradeIsOfferedAgainAndTheBookmarkKept) {
    graded();
    setPages({{1, 1}, {1, 0}, {0, 0}}, 2);
    // The disk is full for the grade and for its retry, but the bookmark still fits.
    failFileStep(FileStep::Write, 1, ENOSPC);
    int retries = 0;
    boxes.onShow([&retries](const BoxRecord& box) {
        if (box.caption == kGradeNotSavedCaption && retries++ == 0)
            failFileStep(FileStep::Write, 1, ENOSPC);
    });
    boxes.queue(BoxAnswer::Ok);
    boxes.queue(BoxAnswer::Retry);
    boxes.queue(BoxAnswer::Cancel);
    EXPECT_EQ(scoreLesson(session().student), ScoreOutcome::GradeNotSaved);
    clearFileFaults();
    ASSERT_EQ(boxes.shown().size(), 3u);
    for (int i : {1, 2}) {
        EXPECT_EQ(boxes.shown()[i].caption, kGradeNotSavedCaption);
        EXPECT_EQ(boxes.shown()[i].buttons, BoxButtons::RetryCancel);
    }
    EXPECT_FALSE(work->exists(gradePath(1)));
    EXPECT_TRUE(hiddenFilesIn(work->path() + "/drive-E/LORVENNA").empty());
    EXPECT_EQ(work->read("drive-E/LORVENNA/L03-12.BMK"),
              " L 312\r\nP 1 1 1\r\nP -2 1 0\r\nP 3 0 0\r\n");
}

TEST_F(ScoringTest, AKeyDiskGoneAtTheEndIsAskedForUntilGivenUp) {
    struct Case {
        const char* name;
        std::function<void(WorkFolder&)> spoil;
    };
    const Case cases[] = {
        {"password changed",
         [](WorkFolder&) { setText(session().student.typedPassword, "Other1"); }},
        {"disk removed", [](WorkFolder& w) { std::filesystem::remove_all(w.path() + "/drive-E"); }},
        {"key file cut short",
         [](WorkFolder& w) { w.write("drive-E/LORVENNA/KEY.GRD", "short", false); }},
        {"second disk inserted", [](WorkFolder& w) { w.addDrive('F'); }},
        {"write-protected",
         [](WorkFolder& w) {
             std::filesystem::permissions(w.path() + "/drive-E",
                                          std::filesystem::perms::owner_write,
                                          std::filesystem::perm_options::remove);
         }},
    };
    for (const Case& c : cases) {
        work.reset();
        work = std::make_unique<WorkFolder>();
        SetUp();
        graded();
        setPages({{4, 3}, {4, 4}, {0, 0}}, 2);
        c.spoil(*work);
        const std::size_t boxesBefore = boxes.shown().size();
        boxes.queue(BoxAnswer::Ok);
        boxes.queue(BoxAnswer::Cancel);
        EXPECT_EQ(scoreLesson(session().student), ScoreOutcome::GradeNotSaved) << c.name;
        ASSERT_EQ(boxes.shown().size(), boxesBefore + 2) << c.name;
        EXPECT_EQ(boxes.shown().back().caption, kGradeNotSavedCaption) << c.name;
        EXPECT_FALSE(work->exists(gradePath(1))) << c.name;
        EXPECT_FALSE(work->exists("drive-E/LORVENNA/L03-12.BMK")) << c.name;
    }
}

TEST_F(ScoringTest, AStickPulledEarlyAndPutBackGetsItsGrade) {
    graded();
    setPages({{4, 3}, {4, 4}, {0, 0}}, 2);
    const std::string stick = work->path() + "/drive-E";
    const std::string away = work->path() + "/elsewhere";
    std::filesystem::rename(stick, away);
    boxes.onShow([&](const BoxRecord& box) {
        if (box.caption == kGradeNotSavedCaption)
            std::filesystem::rename(away, stick);
    });
    EXPECT_EQ(scoreLesson(session().student),
              ScoreOutcome::GradeSaved); // Retry, the first button, once the stick is back
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(readGrade(1).right, 7);
    EXPECT_TRUE(work->exists("drive-E/LORVENNA/L03-12.BMK"));
}

TEST_F(ScoringTest, GradeAndBookmarkAreWholeOrAbsentWhateverStepFails) {
    graded();
    setPages({{2, 2}, {1, 0}, {0, 0}}, 2);
    const std::string oldBookmark = " L 312\r\nP -1 0 0\r\n";
    const std::string newBookmark = " L 312\r\nP 1 2 2\r\nP -2 1 0\r\nP 3 0 0\r\n";
    const std::string drive = work->path() + "/drive-E";
    std::optional<ScriptedBoxes> runBoxes;
    std::optional<ScoreOutcome> result;
    std::size_t told = 0; // boxes saying the grade was not saved, over all the faults

    auto prepare = [&] {
        std::filesystem::remove(work->path() + "/" + gradePath(1));
        std::filesystem::remove(work->path() + "/" + gradePath(2));
        work->write("drive-E/LORVENNA/L03-12.BMK", oldBookmark, false);
        runBoxes.reset();
        runBoxes.emplace();
    };
    auto save = [&] { result = scoreLesson(session().student); };
    auto check = [&](const FileFault& fault) {
        SCOPED_TRACE(describe(fault));
        // Retry, the first button, is pressed at once: the fault has passed, so the grade
        // is always written in the end, whole, and never twice.
        const GradeRecord grade = readGrade(1);
        EXPECT_TRUE(grade.checksumHolds());
        EXPECT_EQ(grade.answered, 3);
        EXPECT_EQ(grade.right, 2);
        EXPECT_FALSE(work->exists(gradePath(2)));
        EXPECT_EQ(result, ScoreOutcome::GradeSaved);
        const std::string bookmark = work->read("drive-E/LORVENNA/L03-12.BMK");
        EXPECT_TRUE(bookmark == oldBookmark || bookmark == newBookmark) << bookmark;
        EXPECT_TRUE(hiddenFilesIn(drive + "/LORVENNA").empty());
        EXPECT_TRUE(hiddenFilesIn(drive).empty());
        EXPECT_FALSE(work->exists("drive-E/TEMPTEMP.TMP"));
        ASSERT_GE(runBoxes->shown().size(), 1u);
        EXPECT_EQ(runBoxes->shown()[0].caption, "Your score:");
        for (std::size_t i = 1; i < runBoxes->shown().size(); ++i)
            EXPECT_EQ(runBoxes->shown()[i].caption, kGradeNotSavedCaption);
        told += runBoxes->shown().size() - 1;
    };

    const auto faults = failEachFileStep(prepare, save, check);
    EXPECT_GT(told, 0u);
    for (FileStep step : {FileStep::Open, FileStep::Write, FileStep::Flush, FileStep::Sync,
                          FileStep::Rename, FileStep::Close})
        EXPECT_GE(faultsAt(faults, step), 2) << static_cast<int>(step);
}

} // namespace lorvenna

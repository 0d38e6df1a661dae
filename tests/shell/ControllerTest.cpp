// The controller: its states, keys, buttons, the tick that ends the answer pause and the
// fatal exit, with the test clock and scripted boxes.
#include "shell/Controller.h"

#include "lesson/PageEntry.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "shell/ControllerTimer.h"
#include "shell/FixedText.h"
#include "shell/SessionState.h"
#include "tests/support/FakeApp.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

class FakeWindow : public ControllerWindow {
public:
    void enableNoteButton() override { ++noteEnabled; }
    void restoreWindow() override { ++restored; }
    void discardPendingInput() override { ++discarded; }
    void destroyWindow() override { ++destroyed; }

    int noteEnabled = 0;
    int restored = 0;
    int discarded = 0;
    int destroyed = 0;
};

using Posted = FakeApp::Posted;

std::vector<Posted> one(int code, int page) {
    return {Posted{code, page}};
}

class ControllerTest : public testing::Test {
protected:
    ControllerTest() {
        resetSession();
        app = std::make_unique<FakeApp>();
        steps.startDialog = [this] { return step("start", startResult); };
        steps.gradeReview = [this] { return step("review", reviewResult); };
        steps.notesReader = [this] { return step("notes", notesResult); };
        steps.lessonSelection = [this] { return step("select", selectResult); };
        steps.scoreLesson = [this] { return step("score", 1); };
        steps.readLessonIndex = [this] {
            log.push_back("index");
            return indexResult;
        };
        steps.applyBookmark = [this](long major, long minor) {
            log.push_back("bookmark " + std::to_string(major) + "-" + std::to_string(minor));
            return bookmarkResult;
        };
        steps.buildPage = [this](int page) {
            log.push_back("build " + std::to_string(page));
            return buildResult;
        };
        steps.lessonTeardown = [this] { log.push_back("teardown"); };
        steps.showHelp = [this](int topic) { log.push_back("help " + std::to_string(topic)); };
        steps.noteDialog = [this] { log.push_back("note"); };
        steps.endQuestion = [this] { log.push_back("endQuestion"); };
        controller = std::make_unique<Controller>(window, steps);

        // A lesson of five pages, at page 3.
        SessionState& s = session();
        s.pageCount = 5;
        s.currentPage = 3;
        s.currentEntry = &entry;
    }

    int step(const char* name, int result) {
        log.push_back(name);
        return result;
    }

    void expectEnded(int destroyedCount = 1) {
        EXPECT_TRUE(controller->exited());
        EXPECT_EQ(window.destroyed, destroyedCount);
        EXPECT_TRUE(session().pageClosing);
    }

    WorkFolder folder;
    ScriptedBoxes boxes;
    TestClock clock{500000};
    std::unique_ptr<FakeApp> app;
    FakeWindow window;
    ControllerSteps steps;
    std::unique_ptr<Controller> controller;
    std::vector<std::string> log;
    PageEntry entry;

    int startResult = 7;
    int reviewResult = 7;
    int notesResult = 7;
    int selectResult = 9;
    bool indexResult = true;
    int bookmarkResult = 0;
    bool buildResult = true;
};

TEST_F(ControllerTest, DialogStatesPostTheirResults) {
    struct Case {
        int state;
        const char* step;
        int result;
    };
    const Case cases[] = {
        {0, "start", 5}, {0, "start", -16}, {5, "review", 0}, {6, "notes", 7}, {7, "select", 10},
    };
    for (const Case& c : cases) {
        log.clear();
        app->posted.clear();
        startResult = reviewResult = notesResult = selectResult = c.result;
        controller->handleState(c.state);
        EXPECT_EQ(log, std::vector<std::string>{c.step}) << c.state;
        EXPECT_EQ(app->posted, one(c.result, 0)) << c.state;
        // The dialog's result is stored as the state before it is posted.
        EXPECT_EQ(session().stateCode, c.result) << c.state;
    }
    EXPECT_EQ(window.restored, 1); // only state 7 restores the window
}

TEST_F(ControllerTest, EndOfLessonScoresTearsDownThenSelects) {
    selectResult = -4;
    controller->handleState(8);
    EXPECT_EQ(log, (std::vector<std::string>{"score", "teardown", "select"}));
    EXPECT_EQ(app->posted, one(-4, 0));
    EXPECT_EQ(window.restored, 0);
}

TEST_F(ControllerTest, SettingUpALessonReadsItsIndexAndShowsPageOne) {
    SessionState& s = session();
    std::snprintf(s.lessonName, sizeof s.lessonName, "01-02");
    s.graded = true;
    app->caption = "old caption";
    controller->handleState(9);
    EXPECT_EQ(window.noteEnabled, 1);
    EXPECT_EQ(app->statusTexts, std::vector<std::string>{"...Setting up lesson 01-02..."});
    EXPECT_EQ(app->caption, "");
    EXPECT_EQ(log, std::vector<std::string>{"index"});
    EXPECT_EQ(app->posted, one(11, 1));
    EXPECT_EQ(s.stateCode, 9);

    // Ungraded: the note button stays as it is.
    s.graded = false;
    controller->handleState(9);
    EXPECT_EQ(window.noteEnabled, 1);
}

TEST_F(ControllerTest, SettingUpFromTheBookmarkResumesItsPage) {
    SessionState& s = session();
    std::snprintf(s.lessonName, sizeof s.lessonName, "03-12");
    s.lessonMajor = 3;
    s.lessonMinor = 12;
    s.graded = true;
    struct Case {
        int bookmark;
        int page;
    };
    // -1: the lesson has no bookmark, and starts at its first page.
    for (const Case c : {Case{4, 4}, Case{0, 1}, Case{-1, 1}}) {
        log.clear();
        app->posted.clear();
        bookmarkResult = c.bookmark;
        controller->handleState(10);
        EXPECT_EQ(log, (std::vector<std::string>{"index", "bookmark 3-12"}));
        EXPECT_EQ(app->posted, one(11, c.page)) << c.bookmark;
    }
    EXPECT_EQ(app->statusTexts.back(), "...Setting up 03-12...");
    EXPECT_EQ(window.noteEnabled, 0); // state 10 never enables the note button
    EXPECT_FALSE(controller->exited());
}

TEST_F(ControllerTest, LessonSetUpFailuresEndWithBadLessonFile) {
    struct Case {
        int state;
        bool index;
        int bookmark;
    };
    for (const Case c : {Case{9, false, 0}, Case{10, false, 0}, Case{10, true, -2}}) {
        resetSession();
        FakeApp fake;
        FakeWindow win;
        ScriptedBoxes shown;
        indexResult = c.index;
        bookmarkResult = c.bookmark;
        std::snprintf(session().errorText, sizeof session().errorText, "Lesson file X is bad.");
        Controller ctl(win, steps);
        ctl.handleState(c.state);
        EXPECT_TRUE(ctl.exited());
        EXPECT_EQ(win.destroyed, 1);
        EXPECT_TRUE(fake.posted.empty());
        ASSERT_EQ(shown.shown().size(), 1u);
        EXPECT_EQ(shown.shown()[0].caption, "Bad LSN file.");
        EXPECT_EQ(shown.shown()[0].text, "Lesson file X is bad.");
    }
}

TEST_F(ControllerTest, ShowingAPageBuildsItOnlyWithinTheLesson) {
    SessionState& s = session();
    struct Case {
        int page;
        bool advance;
        int currentPage;
        const char* build; // nullptr: no page is built
        std::vector<Posted> posted;
    };
    const Case cases[] = {
        {2, false, 2, "build 2", {}},    {5, false, 5, "build 5", {}},
        {6, false, 5, nullptr, {}},      // past the end: stays at the last page
        {6, true, 6, nullptr, {{8, 0}}}, // an answer that turns past the end ends it
        {0, false, 1, nullptr, {}},      {-3, true, 1, nullptr, {}},
    };
    for (const Case& c : cases) {
        log.clear();
        app->posted.clear();
        s.advanceAfterAnswer = c.advance;
        controller->handleState(11, c.page);
        EXPECT_EQ(s.currentPage, c.currentPage) << c.page;
        EXPECT_EQ(log, c.build ? std::vector<std::string>{c.build} : std::vector<std::string>{})
            << c.page;
        EXPECT_EQ(app->posted, c.posted) << c.page;
        if (c.page > 5 && c.advance) {
            EXPECT_FALSE(s.advanceAfterAnswer);
        }
    }
    EXPECT_FALSE(controller->exited());

    buildResult = false;
    setText(s.errorText, "Page number wrong in Lesson");
    controller->handleState(11, 2);
    expectEnded();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Bad LSN file.");
    EXPECT_EQ(boxes.shown()[0].text, "Page number wrong in Lesson");
}

TEST_F(ControllerTest, OtherCodesEndTheRunWithTheirMessage) {
    struct Case {
        int code;
        const char* caption; // nullptr: no box
        const char* text;
    };
    const Case cases[] = {
        {1, nullptr, ""},
        {2, nullptr, ""},
        {3, nullptr, ""},
        {4, nullptr, ""},
        {12, nullptr, ""},
        {13, nullptr, ""},
        {9999, nullptr, ""},
        {-4, nullptr, ""},
        {-3, nullptr, ""},
        {-16, "Wrong password.", ""},
        {-1, "Internal error!", "no dialog"},
        {-5, "Bad LSN file.", "no dialog"},
    };
    for (const Case& c : cases) {
        resetSession();
        FakeApp fake;
        FakeWindow win;
        ScriptedBoxes shown;
        setText(session().errorText, "no dialog");
        Controller ctl(win, steps);
        ctl.handleState(c.code);
        EXPECT_TRUE(ctl.exited()) << c.code;
        EXPECT_EQ(win.destroyed, 1) << c.code;
        if (!c.caption) {
            EXPECT_TRUE(shown.shown().empty()) << c.code;
            continue;
        }
        ASSERT_EQ(shown.shown().size(), 1u) << c.code;
        EXPECT_EQ(shown.shown()[0].caption, c.caption);
        EXPECT_EQ(shown.shown()[0].text, c.text);
    }
}

TEST_F(ControllerTest, FatalExitDeletesTheWorkingFolderBookmarkAndTearsDown) {
    folder.write("LORVENNA.BMK", "L 102\r\n");
    StartControllerTimer();
    controller->fatalExit(-4);
    EXPECT_FALSE(folder.exists("LORVENNA.BMK"));
    EXPECT_EQ(log, std::vector<std::string>{"teardown"});
    EXPECT_FALSE(session().timerRunning);
    EXPECT_EQ(app->timerKills, 1);
    expectEnded();

    // Nothing is handled once the run has ended, and it ends only once.
    controller->handleState(7);
    controller->keyDown(0x22);
    controller->buttonCommand(kButtonQuit);
    controller->closeRequested();
    controller->fatalExit(-5);
    EXPECT_TRUE(app->posted.empty());
    EXPECT_EQ(log, std::vector<std::string>{"teardown"});
    EXPECT_EQ(window.destroyed, 1);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ControllerTest, PageKeysTurnPagesWithinTheLessonUnlessItIsATest) {
    SessionState& s = session();
    struct Case {
        int key;
        int current;
        bool test;
        std::vector<Posted> posted;
    };
    const std::vector<Case> cases = {
        {0x22, 3, false, {{11, 4}}}, {0x27, 3, false, {{11, 4}}}, {0x41, 3, false, {{11, 4}}},
        {0x61, 3, false, {{11, 4}}}, {0x22, 5, false, {}},        {0x27, 5, false, {}},
        {0x21, 3, false, {{11, 2}}}, {0x25, 3, false, {{11, 2}}}, {0x42, 3, false, {{11, 2}}},
        {0x62, 3, false, {{11, 2}}}, {0x21, 1, false, {}},        {0x25, 1, false, {}},
        {0x22, 3, true, {}},         {0x61, 3, true, {}},         {0x21, 3, true, {}},
        {0x62, 3, true, {}},
    };
    for (const Case& c : cases) {
        app->posted.clear();
        s.currentPage = c.current;
        s.testLesson = c.test;
        controller->keyDown(c.key);
        EXPECT_EQ(app->posted, c.posted) << std::hex << c.key << " at " << c.current;
        EXPECT_FALSE(s.pageClosing); // page keys do not close the page themselves
    }
}

TEST_F(ControllerTest, OtherKeysHelpNoteMainMenuAndQuit) {
    for (int key : {0x48, 0x68, 0x70})
        controller->keyDown(key);
    for (int key : {0x4E, 0x6E})
        controller->keyDown(key);
    // Keys outside the table, Space, Enter, Escape, C and the main-row minus, do nothing.
    for (int key : {0x20, 0x0D, 0x1B, 0x43, 0xBD, 0x72, 0x00})
        controller->keyDown(key);
    EXPECT_EQ(log, (std::vector<std::string>{"help 112", "help 112", "help 112", "note", "note"}));
    EXPECT_TRUE(app->posted.empty());

    for (int key : {0x4D, 0x6D}) {
        app->posted.clear();
        session().pageClosing = false;
        StartControllerTimer();
        controller->keyDown(key);
        EXPECT_EQ(app->posted, one(8, 0));
        EXPECT_TRUE(session().pageClosing);
        EXPECT_FALSE(session().timerRunning);
    }
    EXPECT_FALSE(controller->exited());

    for (int key : {0x51, 0x58, 0x71, 0x73, 0x78}) {
        resetSession();
        FakeApp fake;
        FakeWindow win;
        ScriptedBoxes shown;
        log.clear();
        Controller ctl(win, steps);
        ctl.keyDown(key);
        // Quitting records the score first, then ends without a message.
        EXPECT_EQ(log, (std::vector<std::string>{"score", "teardown"})) << key;
        EXPECT_TRUE(ctl.exited());
        EXPECT_TRUE(shown.shown().empty());
    }
}

TEST_F(ControllerTest, ButtonsAct) {
    SessionState& s = session();
    struct Case {
        int id;
        int current;
        std::vector<Posted> posted;
        bool closes;
    };
    const std::vector<Case> cases = {
        {kButtonMainMenu, 3, {{8, 0}}, true},
        {kButtonBack, 3, {{11, 2}}, true},
        {kButtonBack, 1, {}, false},
        {kButtonAhead, 3, {{11, 4}}, true},
        {kButtonAhead, 5, {}, false},
        {706, 3, {}, false},
        {704, 3, {}, false},
    };
    for (const Case& c : cases) {
        app->posted.clear();
        s.pageClosing = false;
        s.currentPage = c.current;
        // The buttons turn pages in a test lesson too.
        s.testLesson = true;
        controller->buttonCommand(c.id);
        EXPECT_EQ(app->posted, c.posted) << c.id << " at " << c.current;
        EXPECT_EQ(s.pageClosing, c.closes) << c.id;
    }
    controller->buttonCommand(kButtonHelp);
    controller->buttonCommand(kButtonNote);
    EXPECT_EQ(log, (std::vector<std::string>{"help 702", "note"}));

    controller->buttonCommand(kButtonQuit);
    EXPECT_EQ(log, (std::vector<std::string>{"help 702", "note", "score", "teardown"}));
    expectEnded();
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ControllerTest, ClosingTheWindowScoresThenEnds) {
    controller->closeRequested();
    EXPECT_EQ(log, (std::vector<std::string>{"score", "teardown"}));
    expectEnded();
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ControllerTest, TickEndsEachPauseWhenItsTimeHasRun) {
    SessionState& s = session();
    struct Case {
        bool right;
        std::uint32_t length;
    };
    for (const Case c : {Case{true, 1000}, Case{false, 3000}}) {
        log.clear();
        entry.completedCount = 0;
        window.discarded = 0;
        (c.right ? s.rightWaitStart : s.wrongWaitStart) = clock.now();
        StartControllerTimer();
        s.pageBuilding = true;

        controller->tick();
        clock.advance(c.length - 1);
        controller->tick();
        EXPECT_TRUE(log.empty()) << c.length;
        EXPECT_TRUE(s.timerRunning);

        clock.advance(1);
        controller->tick();
        EXPECT_EQ(log, std::vector<std::string>{"endQuestion"});
        EXPECT_EQ(s.rightWaitStart, 0u);
        EXPECT_EQ(s.wrongWaitStart, 0u);
        EXPECT_FALSE(s.timerRunning);
        EXPECT_FALSE(s.pageBuilding);
        EXPECT_EQ(window.discarded, 1);
        EXPECT_EQ(entry.completedCount, 1);

        // Without a pause the tick does nothing.
        controller->tick();
        EXPECT_EQ(log.size(), 1u);
        EXPECT_EQ(entry.completedCount, 1);
    }
}

TEST_F(ControllerTest, PauseEndsAcrossTheTickCountWrapping) {
    SessionState& s = session();
    clock.set(0xFFFFFF00u);
    s.rightWaitStart = clock.now();
    clock.advance(0x200); // the count has wrapped to 0x100: 512 ms have passed
    controller->tick();
    EXPECT_TRUE(log.empty());
    EXPECT_NE(s.rightWaitStart, 0u);
    clock.advance(488);
    controller->tick();
    EXPECT_EQ(log, std::vector<std::string>{"endQuestion"});
}

TEST_F(ControllerTest, KeyDuringAWrongPauseEndsItAndDoesNothingElse) {
    SessionState& s = session();
    s.wrongWaitStart = clock.now();
    StartControllerTimer();
    clock.advance(10);
    controller->keyDown(0x51); // Q would quit
    EXPECT_FALSE(controller->exited());
    EXPECT_EQ(log, std::vector<std::string>{"endQuestion"});
    EXPECT_EQ(s.wrongWaitStart, 0u);
    EXPECT_EQ(entry.completedCount, 1);
    EXPECT_FALSE(s.timerRunning);
    EXPECT_TRUE(app->posted.empty());

    // Now the same key acts.
    controller->keyDown(0x22);
    EXPECT_EQ(app->posted, one(11, 4));
}

TEST_F(ControllerTest, KeysActDuringARightPause) {
    SessionState& s = session();
    s.rightWaitStart = clock.now();
    controller->keyDown(0x22);
    EXPECT_EQ(app->posted, one(11, 4));
    EXPECT_NE(s.rightWaitStart, 0u);
    EXPECT_TRUE(log.empty());
}

} // namespace

} // namespace lorvenna

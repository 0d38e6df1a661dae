// The controller: its states, keys, buttons, the tick that ends the answer pause and the
// fatal exit, with the test clock and scripted boxes.
#include "shell/Controller.h"

#include "items/Item.h"
#include "items/KeyEntry.h"
#include "items/PageEntry.h"
#include "items/PauseTimer.h"
#include "items/RunObjects.h"
#include "platform/Clock.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "shell/Session.h"
#include "tests/support/FakeApp.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestClock.h"
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

std::vector<Posted> one(StateCode code, int page) {
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
        steps.scoreLesson = [this] {
            log.push_back("score");
            return ScoreOutcome::Shown;
        };
        steps.readLessonIndex = [this] {
            log.push_back("index");
            return indexResult;
        };
        steps.applyBookmark = [this](char, long major, long minor) {
            log.push_back("bookmark " + std::to_string(major) + "-" + std::to_string(minor));
            return bookmarkResult;
        };
        steps.buildPage = [this](int page) {
            log.push_back("build " + std::to_string(page));
            lesson().turnTo(page); // as the page builder does
            return buildResult;
        };
        steps.lessonTeardown = [this] { log.push_back("teardown"); };
        steps.showHelp = [this](HelpTopic topic) {
            log.push_back("help " + std::to_string(static_cast<int>(topic)));
        };
        steps.noteDialog = [this] { log.push_back("note"); };
        steps.askNextQuestion = [this] { log.push_back("askNextQuestion"); };
        controller = std::make_unique<Controller>(window, steps);

        // A lesson of five pages, at page 3.
        lesson().pageCount = 5;
        lesson().turnTo(3);
        pageOnScreen().currentEntry = &entry;
    }

    StateCode step(const char* name, StateCode result) {
        log.push_back(name);
        return result;
    }

    void expectEnded(int destroyedCount = 1) {
        EXPECT_TRUE(controller->exited());
        EXPECT_EQ(window.destroyed, destroyedCount);
        EXPECT_TRUE(pageOnScreen().pageClosing);
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

    StateCode startResult = StateCode::LessonSelection;
    StateCode reviewResult = StateCode::LessonSelection;
    StateCode notesResult = StateCode::LessonSelection;
    StateCode selectResult = StateCode::SetUpLesson;
    Status indexResult;
    BookmarkApplied bookmarkResult;
    Status buildResult;
};

TEST_F(ControllerTest, DialogStatesPostTheirResults) {
    struct Case {
        StateCode state;
        const char* step;
        StateCode result;
    };
    const Case cases[] = {
        {StateCode::StartDialog, "start", StateCode::GradeReview},
        {StateCode::StartDialog, "start", StateCode::WrongPassword},
        {StateCode::GradeReview, "review", StateCode::StartDialog},
        {StateCode::NotesReader, "notes", StateCode::LessonSelection},
        {StateCode::LessonSelection, "select", StateCode::ResumeLesson},
    };
    for (const Case& c : cases) {
        log.clear();
        app->posted.clear();
        startResult = reviewResult = notesResult = selectResult = c.result;
        controller->handleState(c.state);
        EXPECT_EQ(log, std::vector<std::string>{c.step}) << static_cast<int>(c.state);
        EXPECT_EQ(app->posted, one(c.result, 0)) << static_cast<int>(c.state);
        // The dialog's result is stored as the state before it is posted.
        EXPECT_EQ(controller->state(), c.result) << static_cast<int>(c.state);
    }
    EXPECT_EQ(window.restored, 1); // only state 7 restores the window
}

TEST_F(ControllerTest, EndOfLessonScoresTearsDownThenSelects) {
    selectResult = StateCode::Quit;
    controller->handleState(StateCode::LessonEnd);
    EXPECT_EQ(log, (std::vector<std::string>{"score", "teardown", "select"}));
    EXPECT_EQ(app->posted, one(StateCode::Quit, 0));
    EXPECT_EQ(window.restored, 0);
}

TEST_F(ControllerTest, SettingUpALessonReadsItsIndexAndShowsPageOne) {
    std::snprintf(lesson().lessonName, sizeof lesson().lessonName, "01-02");
    session().student.graded = true;
    app->caption = "old caption";
    controller->handleState(StateCode::SetUpLesson);
    EXPECT_EQ(window.noteEnabled, 1);
    EXPECT_EQ(app->statusTexts, std::vector<std::string>{"...Setting up lesson 01-02..."});
    EXPECT_EQ(app->caption, "");
    EXPECT_EQ(log, std::vector<std::string>{"index"});
    EXPECT_EQ(app->posted, one(StateCode::ShowPage, 1));
    EXPECT_EQ(controller->state(), StateCode::SetUpLesson);

    // Ungraded: the note button stays as it is.
    session().student.graded = false;
    controller->handleState(StateCode::SetUpLesson);
    EXPECT_EQ(window.noteEnabled, 1);
}

TEST_F(ControllerTest, SettingUpFromTheBookmarkResumesItsPage) {
    std::snprintf(lesson().lessonName, sizeof lesson().lessonName, "03-12");
    lesson().lessonMajor = 3;
    lesson().lessonMinor = 12;
    session().student.graded = true;
    using Kind = BookmarkApplied::Kind;
    struct Case {
        Kind kind;
        int resume;
        int page;
    };
    // Without a bookmark of its own, and with one that names no page, the lesson starts at
    // its first page.
    for (const Case c : {Case{Kind::Applied, 4, 4}, Case{Kind::Applied, 0, 1},
                         Case{Kind::OtherLesson, 0, 1}, Case{Kind::None, 0, 1}}) {
        log.clear();
        app->posted.clear();
        bookmarkResult = {c.kind, c.resume, {}};
        controller->handleState(StateCode::ResumeLesson);
        EXPECT_EQ(log, (std::vector<std::string>{"index", "bookmark 3-12"}));
        EXPECT_EQ(app->posted, one(StateCode::ShowPage, c.page)) << c.resume;
    }
    EXPECT_EQ(app->statusTexts.back(), "...Setting up 03-12...");
    EXPECT_EQ(window.noteEnabled, 0); // state 10 never enables the note button
    EXPECT_FALSE(controller->exited());
}

TEST_F(ControllerTest, LessonSetUpFailuresEndWithBadLessonFile) {
    struct Case {
        StateCode state;
        bool index;
        bool bookmarkIndex;
    };
    for (const Case c :
         {Case{StateCode::SetUpLesson, false, true}, Case{StateCode::ResumeLesson, false, true},
          Case{StateCode::ResumeLesson, true, false}}) {
        resetSession();
        FakeApp fake;
        FakeWindow win;
        ScriptedBoxes shown;
        indexResult = c.index ? Status() : failure("Lesson file X is bad.");
        bookmarkResult = c.bookmarkIndex ? BookmarkApplied{}
                                         : BookmarkApplied{BookmarkApplied::Kind::IndexFailed, 0,
                                                           failure("Lesson file X is bad.")};
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
    struct Case {
        int page;
        bool advance;
        int currentPage;
        const char* build; // nullptr: no page is built
        std::vector<Posted> posted;
    };
    const Case cases[] = {
        {2, false, 2, "build 2", {}},
        {5, false, 5, "build 5", {}},
        {6, false, 5, nullptr, {}}, // past the end: stays at the last page
        {6,
         true,
         6,
         nullptr,
         {{StateCode::LessonEnd, 0}}}, // an answer that turns past the end ends it
        {0, false, 6, nullptr, {}}, // no page before the first: nothing turns
        {-3, true, 6, nullptr, {}},
    };
    for (const Case& c : cases) {
        log.clear();
        app->posted.clear();
        Item autoTurn; // a question that turns the page after its answer
        autoTurn.keyKinds = kKeyAutoTurn;
        if (c.advance)
            pageOnScreen().answer.startQuestion(autoTurn);
        else
            pageOnScreen().answer.clearAdvance();
        controller->handleState(StateCode::ShowPage, c.page);
        EXPECT_EQ(lesson().currentPage(), c.currentPage) << c.page;
        EXPECT_EQ(log, c.build ? std::vector<std::string>{c.build} : std::vector<std::string>{})
            << c.page;
        EXPECT_EQ(app->posted, c.posted) << c.page;
        if (c.page > 5 && c.advance) {
            EXPECT_FALSE(pageOnScreen().answer.advanceAfterAnswer());
        }
    }
    EXPECT_FALSE(controller->exited());

    buildResult = failure("Page number wrong in Lesson");
    controller->handleState(StateCode::ShowPage, 2);
    expectEnded();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Bad LSN file.");
    EXPECT_EQ(boxes.shown()[0].text, "Page number wrong in Lesson");
}

TEST_F(ControllerTest, OtherCodesEndTheRunWithTheirMessage) {
    struct Case {
        StateCode code;
        const char* caption; // nullptr: no box
        const char* text;
    };
    const Case cases[] = {
        {StateCode{1}, nullptr, ""},
        {StateCode{2}, nullptr, ""},
        {StateCode{3}, nullptr, ""},
        {StateCode{4}, nullptr, ""},
        {StateCode::PageShown, nullptr, ""},
        {StateCode::QuestionAsked, nullptr, ""},
        {StateCode{9999}, nullptr, ""},
        {StateCode::Quit, nullptr, ""},
        {StateCode{-3}, nullptr, ""},
        {StateCode::WrongPassword, "Wrong password.", ""},
        // Posted, they carry no diagnostic: only lesson selection posts BadLesson, when it
        // finds no lesson to list.
        {StateCode::InternalError, "Internal error!", ""},
        {StateCode::BadLesson, "Bad LSN file.", "No lesson file in LSNS could be read."},
    };
    for (const Case& c : cases) {
        resetSession();
        FakeApp fake;
        FakeWindow win;
        ScriptedBoxes shown;
        Controller ctl(win, steps);
        ctl.handleState(c.code);
        EXPECT_TRUE(ctl.exited()) << static_cast<int>(c.code);
        EXPECT_EQ(win.destroyed, 1) << static_cast<int>(c.code);
        if (!c.caption) {
            EXPECT_TRUE(shown.shown().empty()) << static_cast<int>(c.code);
            continue;
        }
        ASSERT_EQ(shown.shown().size(), 1u) << static_cast<int>(c.code);
        EXPECT_EQ(shown.shown()[0].caption, c.caption);
        EXPECT_EQ(shown.shown()[0].text, c.text);
    }
}

TEST_F(ControllerTest, FatalExitDeletesTheWorkingFolderBookmarkAndTearsDown) {
    folder.write("LORVENNA.BMK", "L 102\r\n");
    startPauseTimer();
    controller->fatalExit(StateCode::Quit);
    EXPECT_FALSE(folder.exists("LORVENNA.BMK"));
    EXPECT_EQ(log, std::vector<std::string>{"teardown"});
    EXPECT_FALSE(pageOnScreen().timerRunning);
    EXPECT_EQ(app->timerKills, 1);
    expectEnded();

    // Nothing is handled once the run has ended, and it ends only once.
    controller->handleState(StateCode::LessonSelection);
    controller->keyDown(VirtualKey::PageDown);
    controller->buttonCommand(CommandId::Quit);
    controller->closeRequested();
    controller->fatalExit(StateCode::BadLesson);
    EXPECT_TRUE(app->posted.empty());
    EXPECT_EQ(log, std::vector<std::string>{"teardown"});
    EXPECT_EQ(window.destroyed, 1);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ControllerTest, PageKeysTurnPagesWithinTheLessonUnlessItIsATest) {
    struct Case {
        VirtualKey key;
        int current;
        bool test;
        std::vector<Posted> posted;
    };
    const std::vector<Case> cases = {
        {VirtualKey::PageDown, 3, false, {{StateCode::ShowPage, 4}}},
        {VirtualKey::Right, 3, false, {{StateCode::ShowPage, 4}}},
        {VirtualKey::A, 3, false, {{StateCode::ShowPage, 4}}},
        {VirtualKey::Keypad1, 3, false, {{StateCode::ShowPage, 4}}},
        {VirtualKey::PageDown, 5, false, {}},
        {VirtualKey::Right, 5, false, {}},
        {VirtualKey::PageUp, 3, false, {{StateCode::ShowPage, 2}}},
        {VirtualKey::Left, 3, false, {{StateCode::ShowPage, 2}}},
        {VirtualKey::B, 3, false, {{StateCode::ShowPage, 2}}},
        {VirtualKey::Keypad2, 3, false, {{StateCode::ShowPage, 2}}},
        {VirtualKey::PageUp, 1, false, {}},
        {VirtualKey::Left, 1, false, {}},
        {VirtualKey::PageDown, 3, true, {}},
        {VirtualKey::Keypad1, 3, true, {}},
        {VirtualKey::PageUp, 3, true, {}},
        {VirtualKey::Keypad2, 3, true, {}},
    };
    for (const Case& c : cases) {
        app->posted.clear();
        lesson().turnTo(c.current);
        lesson().testLesson = c.test;
        controller->keyDown(c.key);
        EXPECT_EQ(app->posted, c.posted)
            << std::hex << static_cast<int>(c.key) << " at " << c.current;
        EXPECT_FALSE(pageOnScreen().pageClosing); // page keys do not close the page themselves
    }
}

TEST_F(ControllerTest, OtherKeysHelpNoteMainMenuAndQuit) {
    for (VirtualKey key : {VirtualKey::H, VirtualKey::Keypad8, VirtualKey::F1})
        controller->keyDown(key);
    for (VirtualKey key : {VirtualKey::N, VirtualKey::KeypadDecimal})
        controller->keyDown(key);
    // Keys outside the table, Space, Enter, Escape, C and the main-row minus, do nothing.
    for (VirtualKey key : {VirtualKey::Space, VirtualKey::Return, VirtualKey::Escape,
                           VirtualKey{0x43}, VirtualKey{0xBD}, VirtualKey{0x72}, VirtualKey{0x00}})
        controller->keyDown(key);
    EXPECT_EQ(log, (std::vector<std::string>{"help 112", "help 112", "help 112", "note", "note"}));
    EXPECT_TRUE(app->posted.empty());

    for (VirtualKey key : {VirtualKey::M, VirtualKey::KeypadSubtract}) {
        app->posted.clear();
        pageOnScreen().pageClosing = false;
        startPauseTimer();
        controller->keyDown(key);
        EXPECT_EQ(app->posted, one(StateCode::LessonEnd, 0));
        EXPECT_TRUE(pageOnScreen().pageClosing);
        EXPECT_FALSE(pageOnScreen().timerRunning);
    }
    EXPECT_FALSE(controller->exited());

    for (VirtualKey key :
         {VirtualKey::Q, VirtualKey::X, VirtualKey::F2, VirtualKey::F4, VirtualKey::F9}) {
        resetSession();
        FakeApp fake;
        FakeWindow win;
        ScriptedBoxes shown;
        log.clear();
        Controller ctl(win, steps);
        ctl.keyDown(key);
        // Quitting records the score first, then ends without a message.
        EXPECT_EQ(log, (std::vector<std::string>{"score", "teardown"})) << static_cast<int>(key);
        EXPECT_TRUE(ctl.exited());
        EXPECT_TRUE(shown.shown().empty());
    }
}

TEST_F(ControllerTest, ButtonsAct) {
    struct Case {
        CommandId id;
        int current;
        std::vector<Posted> posted;
        bool closes;
    };
    const std::vector<Case> cases = {
        {CommandId::MainMenu, 3, {{StateCode::LessonEnd, 0}}, true},
        {CommandId::Back, 3, {{StateCode::ShowPage, 2}}, true},
        {CommandId::Back, 1, {}, false},
        {CommandId::Ahead, 3, {{StateCode::ShowPage, 4}}, true},
        {CommandId::Ahead, 5, {}, false},
        {CommandId::FeedbackPanel, 3, {}, false},
        {CommandId{704}, 3, {}, false},
    };
    for (const Case& c : cases) {
        app->posted.clear();
        pageOnScreen().pageClosing = false;
        lesson().turnTo(c.current);
        // The buttons turn pages in a test lesson too.
        lesson().testLesson = true;
        controller->buttonCommand(c.id);
        EXPECT_EQ(app->posted, c.posted) << static_cast<int>(c.id) << " at " << c.current;
        EXPECT_EQ(pageOnScreen().pageClosing, c.closes) << static_cast<int>(c.id);
    }
    controller->buttonCommand(CommandId::Help);
    controller->buttonCommand(CommandId::Note);
    EXPECT_EQ(log, (std::vector<std::string>{"help 702", "note"}));

    controller->buttonCommand(CommandId::Quit);
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
    struct Case {
        bool right;
        std::uint32_t length;
    };
    for (const Case c : {Case{true, 1000}, Case{false, 3000}}) {
        log.clear();
        entry.completedCount = 0;
        window.discarded = 0;
        (c.right ? pageOnScreen().rightWaitStart : pageOnScreen().wrongWaitStart) = clock.now();
        startPauseTimer();
        pageOnScreen().pageBuilding = true;

        controller->tick();
        clock.advance(c.length - 1);
        controller->tick();
        EXPECT_TRUE(log.empty()) << c.length;
        EXPECT_TRUE(pageOnScreen().timerRunning);

        clock.advance(1);
        controller->tick();
        EXPECT_EQ(log, std::vector<std::string>{"askNextQuestion"});
        EXPECT_EQ(pageOnScreen().rightWaitStart, 0u);
        EXPECT_EQ(pageOnScreen().wrongWaitStart, 0u);
        EXPECT_FALSE(pageOnScreen().timerRunning);
        EXPECT_FALSE(pageOnScreen().pageBuilding);
        EXPECT_EQ(window.discarded, 1);
        EXPECT_EQ(entry.completedCount, 1);

        // Without a pause the tick does nothing.
        controller->tick();
        EXPECT_EQ(log.size(), 1u);
        EXPECT_EQ(entry.completedCount, 1);
    }
}

TEST_F(ControllerTest, PauseEndsAcrossTheTickCountWrapping) {
    clock.set(0xFFFFFF00u);
    pageOnScreen().rightWaitStart = clock.now();
    clock.advance(0x200); // the count has wrapped to 0x100: 512 ms have passed
    controller->tick();
    EXPECT_TRUE(log.empty());
    EXPECT_NE(pageOnScreen().rightWaitStart, 0u);
    clock.advance(488);
    controller->tick();
    EXPECT_EQ(log, std::vector<std::string>{"askNextQuestion"});
}

TEST_F(ControllerTest, KeyDuringAWrongPauseEndsItAndDoesNothingElse) {
    pageOnScreen().wrongWaitStart = clock.now();
    startPauseTimer();
    clock.advance(10);
    controller->keyDown(VirtualKey::Q); // Q would quit
    EXPECT_FALSE(controller->exited());
    EXPECT_EQ(log, std::vector<std::string>{"askNextQuestion"});
    EXPECT_EQ(pageOnScreen().wrongWaitStart, 0u);
    EXPECT_EQ(entry.completedCount, 1);
    EXPECT_FALSE(pageOnScreen().timerRunning);
    EXPECT_TRUE(app->posted.empty());

    // Now the same key acts.
    controller->keyDown(VirtualKey::PageDown);
    EXPECT_EQ(app->posted, one(StateCode::ShowPage, 4));
}

TEST_F(ControllerTest, KeysActDuringARightPause) {
    pageOnScreen().rightWaitStart = clock.now();
    controller->keyDown(VirtualKey::PageDown);
    EXPECT_EQ(app->posted, one(StateCode::ShowPage, 4));
    EXPECT_NE(pageOnScreen().rightWaitStart, 0u);
    EXPECT_TRUE(log.empty());
}

} // namespace

} // namespace lorvenna

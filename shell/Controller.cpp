// The controller: one posted state code at a time, the keys and buttons of the main window,
// the tick that ends the answer pause, and the fatal exit.
#include "shell/Controller.h"

#include "items/AnswerKeys.h"
#include "lesson/Bookmark.h"
#include "lesson/LessonIndex.h"
#include "lesson/LessonSelection.h"
#include "lesson/PageBuilder.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "records/GradeReview.h"
#include "records/Help.h"
#include "records/Notes.h"
#include "records/Scoring.h"
#include "records/StartDialog.h"
#include "shell/AppServices.h"
#include "shell/ControllerTimer.h"
#include "shell/FixedText.h"
#include "shell/SessionState.h"

#include <cstdint>

namespace lorvenna {

namespace {

enum class KeyAction { None, Ahead, Back, Help, MainMenu, Note, Quit };

struct KeyBinding {
    int code;
    KeyAction action;
};

// Virtual-key codes: keypad 1, 2, 8, minus and the decimal point carry the codes of the
// letters a, b, h, m and n, and F2 and F9 those of q and x.
constexpr KeyBinding kKeyTable[] = {
    {0x22, KeyAction::Ahead},    {0x27, KeyAction::Ahead}, {0x41, KeyAction::Ahead},
    {0x61, KeyAction::Ahead},    {0x21, KeyAction::Back},  {0x25, KeyAction::Back},
    {0x42, KeyAction::Back},     {0x62, KeyAction::Back},  {0x48, KeyAction::Help},
    {0x68, KeyAction::Help},     {0x70, KeyAction::Help},  {0x4D, KeyAction::MainMenu},
    {0x6D, KeyAction::MainMenu}, {0x4E, KeyAction::Note},  {0x6E, KeyAction::Note},
    {0x51, KeyAction::Quit},     {0x58, KeyAction::Quit},  {0x71, KeyAction::Quit},
    {0x73, KeyAction::Quit},     {0x78, KeyAction::Quit},
};

KeyAction keyAction(int code) {
    for (const KeyBinding& binding : kKeyTable) {
        if (binding.code == code)
            return binding.action;
    }
    return KeyAction::None;
}

constexpr int kHelpFromKeys = 112;
constexpr const char* kBookmarkInWorkingFolder = "LORVENNA.BMK";

AppServices* app() {
    return session().mainWindow;
}

} // namespace

ControllerSteps ControllerSteps::real() {
    ControllerSteps steps;
    steps.startDialog = RunStartDialog;
    steps.gradeReview = RunGradeReview;
    steps.notesReader = RunNotesReader;
    steps.lessonSelection = RunLessonSelection;
    steps.scoreLesson = ScoreLesson;
    steps.readLessonIndex = ReadLessonIndex;
    steps.applyBookmark = ApplyBookmark;
    steps.buildPage = BuildPage;
    steps.lessonTeardown = LessonTeardown;
    steps.showHelp = [](int topic) { ShowHelp(topic); };
    steps.noteDialog = RunNoteDialog;
    steps.endQuestion = EndQuestion;
    return steps;
}

Controller::Controller(ControllerWindow& window, ControllerSteps steps)
    : window_(window), steps_(std::move(steps)) {}

void Controller::post(int code, int page) {
    if (app())
        app()->postState(code, page);
}

void Controller::postResult(int result) {
    // A dialog that ended the run (its box closed the program) leaves nothing to post.
    if (exited_)
        return;
    session().stateCode = result;
    post(result);
}

void Controller::handleState(int code, int page) {
    if (exited_)
        return;
    // Keys and buttons handled while the program was busy may have asked for a page or for
    // the end of the lesson after it had already been asked to end: those requests reach us
    // after the teardown (or inside lesson selection) and belong to a lesson that is gone.
    if (lessonEnded_ && (code == 8 || code == 11))
        return;
    SessionState& s = session();
    s.stateCode = code;
    switch (code) {
    case 0:
        postResult(steps_.startDialog());
        return;
    case 5:
        postResult(steps_.gradeReview());
        return;
    case 6:
        postResult(steps_.notesReader());
        return;
    case 7:
        window_.restoreWindow();
        postResult(steps_.lessonSelection());
        return;
    case 8:
        steps_.scoreLesson();
        steps_.lessonTeardown();
        lessonEnded_ = true;
        postResult(steps_.lessonSelection());
        return;
    case 9:
        setUpLesson(false);
        return;
    case 10:
        setUpLesson(true);
        return;
    case 11:
        showPage(page);
        return;
    default:
        fatalExit(code);
        return;
    }
}

void Controller::setUpLesson(bool fromBookmark) {
    SessionState& s = session();
    lessonEnded_ = false;
    if (!fromBookmark && s.graded)
        window_.enableNoteButton();
    if (app()) {
        char status[80];
        if (fromBookmark)
            formatText(status, "...Setting up %s...", s.lessonName);
        else
            formatText(status, "...Setting up lesson %s...", s.lessonName);
        app()->drawStatusText(status);
        app()->setCaption("");
    }
    if (!steps_.readLessonIndex()) {
        fatalExit(kExitBadLesson);
        return;
    }
    if (!fromBookmark) {
        post(11, 1);
        return;
    }
    int page = steps_.applyBookmark(s.lessonMajor, s.lessonMinor);
    // The chosen lesson has no bookmark: it starts at its first page rather than ending
    // the program.
    if (page == -1)
        page = 0;
    if (page < 0) {
        fatalExit(kExitBadLesson);
        return;
    }
    post(11, page != 0 ? page : 1);
}

void Controller::showPage(int page) {
    SessionState& s = session();
    s.currentPage = page;
    if (page > s.pageCount) {
        if (s.advanceAfterAnswer) {
            s.advanceAfterAnswer = false;
            post(8);
            return;
        }
        s.currentPage = s.pageCount;
        return;
    }
    if (page <= 0) {
        s.currentPage = 1;
        return;
    }
    if (!steps_.buildPage(page))
        fatalExit(kExitBadLesson);
}

void Controller::leavePage() {
    session().pageClosing = true;
    StopControllerTimer();
}

void Controller::quit() {
    leavePage();
    steps_.scoreLesson();
    fatalExit(kExitQuit);
}

void Controller::keyDown(int virtualKey) {
    if (exited_)
        return;
    SessionState& s = session();
    // A key during the pause after a wrong answer ends the pause and does nothing else.
    if (s.wrongWaitStart != 0) {
        s.wrongWaitStart = 1;
        endPause(true);
        return;
    }
    switch (keyAction(virtualKey)) {
    case KeyAction::None:
        return;
    case KeyAction::Ahead:
        if (!s.testLesson && s.currentPage < s.pageCount)
            post(11, s.currentPage + 1);
        return;
    case KeyAction::Back:
        if (!s.testLesson && s.currentPage > 1)
            post(11, s.currentPage - 1);
        return;
    case KeyAction::Help:
        steps_.showHelp(kHelpFromKeys);
        return;
    case KeyAction::MainMenu:
        leavePage();
        post(8);
        return;
    case KeyAction::Note:
        steps_.noteDialog();
        return;
    case KeyAction::Quit:
        quit();
        return;
    }
}

void Controller::buttonCommand(int id) {
    if (exited_)
        return;
    SessionState& s = session();
    switch (id) {
    case kButtonMainMenu:
        leavePage();
        post(8);
        return;
    case kButtonHelp:
        steps_.showHelp(kButtonHelp);
        return;
    case kButtonBack:
        if (s.currentPage > 1) {
            leavePage();
            post(11, s.currentPage - 1);
        }
        return;
    case kButtonAhead:
        if (s.currentPage < s.pageCount) {
            leavePage();
            post(11, s.currentPage + 1);
        }
        return;
    case kButtonNote:
        steps_.noteDialog();
        return;
    case kButtonQuit:
        quit();
        return;
    default:
        return;
    }
}

void Controller::tick() {
    if (exited_)
        return;
    endPause(false);
}

void Controller::endPause(bool wrongPauseEndedByKey) {
    SessionState& s = session();
    // Elapsed times in unsigned 32-bit arithmetic, so the pause also ends when the tick
    // count wraps around during it.
    const std::uint32_t now = tickCount();
    if (s.rightWaitStart != 0) {
        if (now - s.rightWaitStart < kRightPauseMs)
            return;
    } else if (s.wrongWaitStart != 0) {
        if (!wrongPauseEndedByKey && now - s.wrongWaitStart < kWrongPauseMs)
            return;
    } else {
        return;
    }
    s.rightWaitStart = 0;
    s.wrongWaitStart = 0;
    StopControllerTimer();
    s.pageBuilding = false;
    window_.discardPendingInput();
    if (s.currentEntry)
        ++s.currentEntry->completedCount;
    steps_.endQuestion();
}

void Controller::closeRequested() {
    if (exited_)
        return;
    quit();
}

void Controller::fatalExit(int code) {
    if (exited_)
        return;
    // Set first: whatever arrives while the boxes below are open is not handled any more.
    exited_ = true;
    SessionState& s = session();
    s.pageClosing = true;
    StopControllerTimer();
    if (fileExists(kBookmarkInWorkingFolder))
        deleteFile(kBookmarkInWorkingFolder);
    steps_.lessonTeardown();

    switch (code) {
    case kExitWrongPassword:
        messageBox("Wrong password.", "");
        break;
    case kExitBadLesson:
        messageBox("Bad LSN file.", s.errorText);
        break;
    case kExitInternalError:
        messageBox("Internal error!", s.errorText);
        break;
    default:
        break;
    }
    window_.destroyWindow();
}

} // namespace lorvenna

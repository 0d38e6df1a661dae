// The controller: one posted state code at a time, the keys and buttons of the main window,
// the tick that ends the answer pause, and the fatal exit.
#include "shell/Controller.h"

#include "items/AnswerKeys.h"
#include "items/AppServices.h"
#include "items/PauseTimer.h"
#include "items/RunObjects.h"
#include "lesson/Bookmark.h"
#include "lesson/LessonIndex.h"
#include "lesson/LessonSelection.h"
#include "lesson/PageBuilder.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "records/GradeReview.h"
#include "records/Help.h"
#include "records/Notes.h"
#include "records/Scoring.h"
#include "records/StartDialog.h"
#include "shell/Session.h"

#include <cstdint>

namespace lorvenna {

namespace {

enum class KeyAction { None, Ahead, Back, Help, MainMenu, Note, Quit };

// The keys of each action; the keypad digits 1, 2, 8, minus and the decimal point carry
// the codes of a, b, h, m and n, and F2 and F9 those of q and x.
struct KeyBinding {
    KeyAction action;
    VirtualKey keys[5]; // VirtualKey::None pads a shorter list
};

constexpr KeyBinding kKeyTable[] = {
    {KeyAction::Ahead,
     {VirtualKey::PageDown, VirtualKey::Right, VirtualKey::A, VirtualKey::Keypad1}},
    {KeyAction::Back, {VirtualKey::PageUp, VirtualKey::Left, VirtualKey::B, VirtualKey::Keypad2}},
    {KeyAction::Help, {VirtualKey::H, VirtualKey::Keypad8, VirtualKey::F1}},
    {KeyAction::MainMenu, {VirtualKey::M, VirtualKey::KeypadSubtract}},
    {KeyAction::Note, {VirtualKey::N, VirtualKey::KeypadDecimal}},
    {KeyAction::Quit,
     {VirtualKey::Q, VirtualKey::X, VirtualKey::F2, VirtualKey::F4, VirtualKey::F9}},
};

KeyAction keyAction(VirtualKey key) {
    if (key == VirtualKey::None)
        return KeyAction::None;
    for (const KeyBinding& binding : kKeyTable) {
        for (VirtualKey bound : binding.keys) {
            if (bound == key)
                return binding.action;
        }
    }
    return KeyAction::None;
}

constexpr const char* kBookmarkInWorkingFolder = "LORVENNA.BMK";

} // namespace

void removeWorkingFolderBookmark() {
    if (fileExists(kBookmarkInWorkingFolder))
        deleteFile(kBookmarkInWorkingFolder);
}

ControllerSteps ControllerSteps::real() {
    ControllerSteps steps;
    // Qualified: inside ControllerSteps the plain names are the members.
    steps.startDialog = [] { return lorvenna::runStartDialog(session().student); };
    steps.gradeReview = [] { return lorvenna::runGradeReview(session().student); };
    steps.notesReader = [] { return lorvenna::runNotesReader(session().student); };
    steps.lessonSelection = [] {
        const Student& student = session().student;
        return lorvenna::runLessonSelection(student.graded ? student.keyDrive : 0);
    };
    steps.scoreLesson = [] { return lorvenna::scoreLesson(session().student); };
    steps.readLessonIndex = lorvenna::readLessonIndex;
    steps.applyBookmark = lorvenna::applyBookmark;
    steps.buildPage = lorvenna::buildPage;
    steps.lessonTeardown = lorvenna::lessonTeardown;
    steps.showHelp = [](HelpTopic topic) { lorvenna::showHelp(topic, session().student.graded); };
    steps.noteDialog = [] { lorvenna::runNoteDialog(session().student); };
    steps.askNextQuestion = EndQuestion;
    return steps;
}

Controller::Controller(ControllerWindow& window, ControllerSteps steps)
    : window_(window), steps_(std::move(steps)) {}

void Controller::post(StateCode code, int page) {
    appServices().postState(code, page);
}

void Controller::postResult(StateCode result) {
    // A dialog that ended the run (its box closed the program) leaves nothing to post.
    if (exited_)
        return;
    state_ = result;
    post(result);
}

void Controller::handleState(StateCode code, int page) {
    if (exited_)
        return;
    // Keys and buttons handled while the program was busy may have asked for a page or for
    // the end of the lesson after it had already been asked to end: those requests reach us
    // after the teardown (or inside lesson selection) and belong to a lesson that is gone.
    if (lessonEnded_ && (code == StateCode::LessonEnd || code == StateCode::ShowPage))
        return;
    state_ = code;
    switch (code) {
    case StateCode::StartDialog:
        postResult(steps_.startDialog());
        return;
    case StateCode::GradeReview:
        postResult(steps_.gradeReview());
        return;
    case StateCode::NotesReader:
        postResult(steps_.notesReader());
        return;
    case StateCode::LessonSelection:
        window_.restoreWindow();
        postResult(steps_.lessonSelection());
        return;
    case StateCode::LessonEnd:
        // Whatever became of the grade, the student has been told in its boxes, and the lesson
        // ends alike.
        static_cast<void>(steps_.scoreLesson());
        steps_.lessonTeardown();
        lessonEnded_ = true;
        postResult(steps_.lessonSelection());
        return;
    case StateCode::SetUpLesson:
        setUpLesson(false);
        return;
    case StateCode::ResumeLesson:
        setUpLesson(true);
        return;
    case StateCode::ShowPage:
        showPage(page);
        return;
    default: // the codes held while a page is shown, the fatal codes and every unnamed one
        // The one step that posts BadLesson is lesson selection, when it has nothing to list;
        // a lesson that fails to read ends the run at once, with its diagnostic.
        fatalExit(code, code == StateCode::BadLesson ? kNoLessonListed : "");
        return;
    }
}

void Controller::setUpLesson(bool fromBookmark) {
    lessonEnded_ = false;
    if (!fromBookmark && session().student.graded)
        window_.enableNoteButton();
    char status[80];
    if (fromBookmark)
        formatText(status, "...Setting up %s...", lesson().lessonName);
    else
        formatText(status, "...Setting up lesson %s...", lesson().lessonName);
    appServices().drawStatusText(status);
    appServices().setCaption("");
    if (const Status read = steps_.readLessonIndex(); !read) {
        fatalExit(StateCode::BadLesson, read.message());
        return;
    }
    if (!fromBookmark) {
        post(StateCode::ShowPage, 1);
        return;
    }
    const BookmarkApplied bookmark = steps_.applyBookmark(
        session().student.keyDrive, lesson().lessonMajor, lesson().lessonMinor);
    switch (bookmark.kind) {
    case BookmarkApplied::Kind::None: // the lesson starts at its first page
    case BookmarkApplied::Kind::OtherLesson:
        post(StateCode::ShowPage, 1);
        return;
    case BookmarkApplied::Kind::IndexFailed:
        fatalExit(StateCode::BadLesson, bookmark.index.message());
        return;
    case BookmarkApplied::Kind::Applied:
        post(StateCode::ShowPage, bookmark.page != 0 ? bookmark.page : 1);
        return;
    }
}

void Controller::showPage(int page) {
    Lesson& played = lesson();
    if (page > played.pageCount) {
        // Past the last page only an answer that turns the page goes on: it ends the lesson.
        if (pageOnScreen().answer.advanceAfterAnswer()) {
            pageOnScreen().answer.clearAdvance();
            played.turnTo(page);
            post(StateCode::LessonEnd);
        }
        return;
    }
    if (page < 1) // there is no page before the first
        return;
    if (const Status built = steps_.buildPage(page); !built)
        fatalExit(StateCode::BadLesson, built.message());
}

void Controller::leavePage() {
    pageOnScreen().pageClosing = true;
    stopPauseTimer();
}

void Controller::endLesson() {
    leavePage();
    post(StateCode::LessonEnd);
}

void Controller::quit() {
    leavePage();
    static_cast<void>(steps_.scoreLesson());
    fatalExit(StateCode::Quit);
}

void Controller::keyDown(VirtualKey key) {
    if (exited_)
        return;
    // A key during the pause after a wrong answer ends the pause and does nothing else.
    if (pageOnScreen().wrongWaitStart != 0) {
        pageOnScreen().wrongWaitStart = 1;
        endPause(true);
        return;
    }
    switch (keyAction(key)) {
    case KeyAction::None:
        return;
    case KeyAction::Ahead:
        if (!lesson().testLesson && lesson().currentPage() < lesson().pageCount)
            post(StateCode::ShowPage, lesson().currentPage() + 1);
        return;
    case KeyAction::Back:
        if (!lesson().testLesson && lesson().currentPage() > 1)
            post(StateCode::ShowPage, lesson().currentPage() - 1);
        return;
    case KeyAction::Help:
        steps_.showHelp(HelpTopic::PageKeys);
        return;
    case KeyAction::MainMenu:
        endLesson();
        return;
    case KeyAction::Note:
        steps_.noteDialog();
        return;
    case KeyAction::Quit:
        quit();
        return;
    }
}

void Controller::buttonCommand(CommandId id) {
    if (exited_)
        return;
    switch (id) {
    case CommandId::MainMenu:
        endLesson();
        return;
    case CommandId::Help:
        steps_.showHelp(HelpTopic::HelpButton);
        return;
    case CommandId::Back:
        if (lesson().currentPage() > 1) {
            leavePage();
            post(StateCode::ShowPage, lesson().currentPage() - 1);
        }
        return;
    case CommandId::Ahead:
        if (lesson().currentPage() < lesson().pageCount) {
            leavePage();
            post(StateCode::ShowPage, lesson().currentPage() + 1);
        }
        return;
    case CommandId::Note:
        steps_.noteDialog();
        return;
    case CommandId::Quit:
        quit();
        return;
    case CommandId::FeedbackPanel: // the panel is no button
        return;
    }
}

void Controller::tick() {
    if (exited_)
        return;
    endPause(false);
}

void Controller::endPause(bool wrongPauseEndedByKey) {
    // Elapsed times in unsigned 32-bit arithmetic, so the pause also ends when the tick
    // count wraps around during it.
    const std::uint32_t now = tickCount();
    if (pageOnScreen().rightWaitStart != 0) {
        if (now - pageOnScreen().rightWaitStart < kRightPauseMs)
            return;
    } else if (pageOnScreen().wrongWaitStart != 0) {
        if (!wrongPauseEndedByKey && now - pageOnScreen().wrongWaitStart < kWrongPauseMs)
            return;
    } else {
        return;
    }
    pageOnScreen().rightWaitStart = 0;
    pageOnScreen().wrongWaitStart = 0;
    stopPauseTimer();
    pageOnScreen().pageBuilding = false;
    window_.discardPendingInput();
    if (pageOnScreen().currentEntry)
        ++pageOnScreen().currentEntry->completedCount;
    steps_.askNextQuestion();
}

void Controller::closeRequested() {
    if (exited_)
        return;
    quit();
}

void Controller::fatalExit(StateCode code, const std::string& text) {
    if (exited_)
        return;
    // Set first: whatever arrives while the boxes below are open is not handled any more.
    exited_ = true;
    pageOnScreen().pageClosing = true;
    stopPauseTimer();
    steps_.removeStaleBookmark();
    steps_.lessonTeardown();

    switch (code) {
    case StateCode::WrongPassword:
        messageBox("Wrong password.", "");
        break;
    case StateCode::BadLesson:
        messageBox("Bad LSN file.", text);
        break;
    case StateCode::InternalError:
        messageBox("Internal error!", text);
        break;
    default: // Quit and the unnamed codes end without a message
        break;
    }
    window_.destroyWindow();
}

} // namespace lorvenna

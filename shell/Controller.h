// The controller: the state machine that runs the session, one posted state code at a time,
// with the keys and buttons of the main window, the tick that ends the answer pause, and
// the fatal exit through which every run ends.
#pragma once

#include "items/Codes.h"
#include "lesson/Bookmark.h"
#include "platform/Diagnostic.h"
#include "records/Scoring.h"

#include <functional>
#include <string>

namespace lorvenna {

// What the controller asks of the main window beyond the services every part uses
// (items/AppServices.h, reached through appServices()).
class ControllerWindow {
public:
    virtual ~ControllerWindow() = default;
    virtual void enableNoteButton() = 0;
    // Un-minimises the main window and brings it up to date.
    virtual void restoreWindow() = 0;
    // Drops the mouse and keyboard input that waits for the main window.
    virtual void discardPendingInput() = 0;
    // Destroys the main window; the program then ends with exit code 0.
    virtual void destroyWindow() = 0;
};

// The fatal exit's step: a bookmark "LORVENNA.BMK" left in the working folder is deleted.
void removeWorkingFolderBookmark();

// The steps the states run, each the real one unless a test puts another in its place.
struct ControllerSteps {
    std::function<StateCode()> startDialog;
    std::function<StateCode()> gradeReview;
    std::function<StateCode()> notesReader;
    std::function<StateCode()> lessonSelection;
    std::function<ScoreOutcome()> scoreLesson;
    std::function<Status()> readLessonIndex;
    std::function<BookmarkApplied(char drive, long major, long minor)> applyBookmark;
    std::function<Status(int)> buildPage;
    std::function<void()> lessonTeardown;
    std::function<void(HelpTopic)> showHelp;
    std::function<void()> noteDialog;
    std::function<void()> askNextQuestion; // after the pause: EndQuestion
    // The fatal exit's removal of a bookmark left in the working folder.
    std::function<void()> removeStaleBookmark = removeWorkingFolderBookmark;

    static ControllerSteps real();
};

inline constexpr unsigned kRightPauseMs = 1000;
inline constexpr unsigned kWrongPauseMs = 3000;

class Controller {
public:
    explicit Controller(ControllerWindow& window, ControllerSteps steps = ControllerSteps::real());

    // The controller message: a state code and, for ShowPage, the page.
    void handleState(StateCode code, int page = 0);
    void keyDown(VirtualKey key);
    // A click on one of the main window's buttons.
    void buttonCommand(CommandId id);
    // The controller timer's tick: ends the answer pause once it has run its time.
    void tick();
    // The main window is being closed.
    void closeRequested();
    // Ends the run, with the message the code calls for; text is the box's text for the codes
    // that show one (BadLesson: the first diagnostic of the lesson).
    void fatalExit(StateCode code, const std::string& text = {});

    // The fatal exit has run: nothing more is handled.
    bool exited() const { return exited_; }
    // The state code handled last (a dialog's result once it is posted).
    StateCode state() const { return state_; }

private:
    void post(StateCode code, int page = 0);
    void postResult(StateCode result);
    void setUpLesson(bool fromBookmark);
    void showPage(int page);
    void leavePage();
    // "&Main menu" and its keys: the page closes and the lesson ends.
    void endLesson();
    void quit();
    void endPause(bool wrongPauseEndedByKey);

    ControllerWindow& window_;
    ControllerSteps steps_;
    StateCode state_ = StateCode::StartDialog;
    bool exited_ = false;
    // The lesson has been ended (state 8) and no other set up yet.
    bool lessonEnded_ = false;
};

} // namespace lorvenna

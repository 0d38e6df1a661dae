// The start dialog's step machine: ungraded start, key disk detection, registration and
// login. It knows nothing of widgets; the dialog shows it through StartView.
#pragma once

#include "items/Codes.h"
#include "records/KeyDisk.h"
#include "records/Student.h"

#include <optional>
#include <string>
#include <string_view>

namespace lorvenna {

// The steps are the result codes of the key disk, with the few steps only the dialog has.
using StartStep = KeyDiskCode;

// What the step machine asks of the dialog that shows it.
class StartView {
public:
    virtual ~StartView() = default;

    virtual void showIdField(bool shown) = 0;
    virtual void showPasswordField(bool shown) = 0;
    virtual std::string idText() const = 0;
    virtual std::string passwordText() const = 0;
    virtual void clearIdField() = 0;
    virtual void clearPasswordField() = 0;
    virtual void focusIdField() = 0;
    virtual void focusPasswordField() = 0;
    // The dialog's window text (not shown: the dialog has no caption bar).
    virtual void setWindowText(std::string_view text) = 0;
    virtual void setMessage(std::string_view text) = 0;
    // The dialog's private message to itself: handleStep(step) runs later, from the loop.
    virtual void postStep(StartStep step) = 0;
    virtual void endDialog(StateCode result) = 0;
};

// The step machine keeps its own step; the controller's state stays what it was.
class StartSteps {
public:
    StartSteps(StartView& view, Student& student) : view_(view), student_(student) {}

    // The dialog's first look: the instructions, both fields hidden.
    void start();
    // The private message.
    void handleStep(StartStep step);

    void startWithGrades();
    void startUngraded();
    void readGrades();
    void openNotes(); // "Read notes", command 207
    void quit();
    void helpOnStarting();
    void about();
    void enterInIdField();
    void enterInPasswordField();
    // The user typed past the field's limit (60 for the ID, 20 for the password).
    void idFieldOverflow();
    void passwordFieldOverflow();

    bool ended() const { return ended_; }
    StateCode result() const { return result_; }
    // The step last posted; none before the first.
    std::optional<StartStep> step() const { return step_; }

    static const char* introText();

private:
    void post(StartStep step);
    void end(StateCode result);
    void detectAndPost();
    void retryDetection();
    void showRegistrationPrompt();
    void showNewPasswordPrompt();
    void showPasswordPrompt();
    void showPasswordAgainPrompt();
    void stepBox(StartStep step);

    StartView& view_;
    Student& student_;
    std::optional<StartStep> step_;
    bool ended_ = false;
    StateCode result_ = StateCode::StartDialog;
};

} // namespace lorvenna

// The start dialog's steps: what each step shows, the boxes of the failure steps, and the
// entries of the ID and password fields.
#include "records/StartSteps.h"

#include "items/RunObjects.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "records/Help.h"
#include "records/KeyDisk.h"

#include <cstdio>
#include <cstring>

namespace lorvenna {

namespace {

constexpr const char* kRegisteringTitle = "Lorvenna: Registering new grade disk";
constexpr const char* kCheckingDisk = "Checking disk.......";

struct FailureBox {
    StartStep step;
    const char* caption;
    const char* text;
    BoxButtons buttons;
    StateCode cancelResult; // the dialog's result on Cancel (or OK)
};

// The boxes of the failure steps; what Retry does is in stepBox.
constexpr FailureBox kFailureBoxes[] = {
    {StartStep::WriteFailed, "Grading disk full or write-protected.",
     "Insert a different disk to Retry.", BoxButtons::RetryCancel, StateCode::Quit},
    {StartStep::SeveralMedia, "Two or more disks are inserted.",
     "Remove all but the Lorvenna disk and retry.", BoxButtons::RetryCancel,
     StateCode::StartDialog},
    {StartStep::NoDrive, "No removable disk found.", "Insert your drive or disk for grades.",
     BoxButtons::Ok, StateCode::Quit},
    {StartStep::NoMedium, "No removable disk available.",
     "Insert a disk and hit Retry, or Cancel to quit.", BoxButtons::RetryCancel,
     StateCode::StartDialog},
    {StartStep::IdTooLong, "Your name entry is too long.",
     "Hit Retry then use a shorter name or ID.", BoxButtons::RetryCancel, StateCode::Quit},
    {StartStep::PasswordTooLong, "Your password entry is too long.",
     "Hit Retry then use a shorter password..", BoxButtons::RetryCancel, StateCode::Quit},
};

const FailureBox* failureBox(StartStep step) {
    for (const FailureBox& box : kFailureBoxes) {
        if (box.step == step)
            return &box;
    }
    return nullptr;
}

// An empty entry, or one with anything but letters and digits, gets its box.
bool acceptEntry(const std::string& entry) {
    if (entry.empty()) {
        messageBox("Empty entry.", "Try again.");
        return false;
    }
    if (!isLettersAndDigits(entry.c_str())) {
        messageBox("Entry must be only letters and numbers.", "Try again.");
        return false;
    }
    return true;
}

// The result a step that has no prompt of its own ends the dialog with: a damaged key file
// ends the run with "Wrong password.", any step no operation posts ends it quietly.
StateCode endingOf(StartStep step) {
    switch (step) {
    case StartStep::WrongPassword:
        return StateCode::WrongPassword;
    case StartStep::OneMedium:
    case StartStep::NoMedium:
    case StartStep::NoDrive:
    case StartStep::SeveralMedia:
    case StartStep::KeyRead:
    case StartStep::NotRegistered:
    case StartStep::WriteFailed:
    case StartStep::KeyWritten:
    case StartStep::PasswordRight:
    case StartStep::ChoosePassword:
    case StartStep::PasswordAgain:
    case StartStep::PasswordTooLong:
    case StartStep::IdTooLong:
        return StateCode::Quit;
    }
    return StateCode::Quit;
}

} // namespace

const char* StartSteps::introText() {
    return "This program is meant for instructional use, and will be graded.  Insert your key "
           "floppy (or a blank floppy that will become your key) and then hit the \"Start "
           "with grades\" button.   For more detail, click the Help button.";
}

void StartSteps::start() {
    view_.showIdField(false);
    view_.showPasswordField(false);
    view_.setWindowText("");
    view_.setMessage(introText());
}

void StartSteps::post(StartStep step) {
    step_ = step;
    view_.postStep(step);
}

void StartSteps::end(StateCode result) {
    ended_ = true;
    result_ = result;
    view_.endDialog(result);
}

void StartSteps::detectAndPost() {
    post(detectKeyDrive(student_));
}

void StartSteps::retryDetection() {
    view_.setMessage(kCheckingDisk);
    detectAndPost();
}

void StartSteps::showRegistrationPrompt() {
    // The password field of an earlier registration would overlap the ID field.
    view_.showPasswordField(false);
    view_.clearPasswordField();
    view_.showIdField(true);
    view_.setWindowText(kRegisteringTitle);
    char message[320];
    std::snprintf(message, sizeof message,
                  "There is a disk in slot %c:   that is not yet registered as a key disk. If "
                  "you want to set up this disk for your key, type your student ID (name or "
                  "number), then hit Enter.  If this isn't what you want, hit the Quit button "
                  "and restart.",
                  student_.keyDrive);
    view_.setMessage(message);
    view_.focusIdField();
}

void StartSteps::showNewPasswordPrompt() {
    view_.showIdField(false);
    view_.clearIdField();
    view_.showPasswordField(true);
    view_.setWindowText(kRegisteringTitle);
    view_.setMessage("Now choose a short password then hit Enter:");
    view_.focusPasswordField();
}

void StartSteps::showPasswordPrompt() {
    view_.showIdField(false);
    view_.showPasswordField(true);
    setText(student_.studentId, fieldView(student_.keyId));
    view_.setWindowText("Lorvenna: Grade disk present.");
    view_.setMessage("Type your password and hit Enter.");
    view_.focusPasswordField();
}

void StartSteps::showPasswordAgainPrompt() {
    view_.showIdField(false);
    view_.clearIdField();
    view_.showPasswordField(true);
    view_.setWindowText(kRegisteringTitle);
    view_.setMessage("Enter password again:");
    view_.focusPasswordField();
}

void StartSteps::stepBox(StartStep step) {
    const FailureBox* box = failureBox(step);
    const BoxAnswer answer = messageBox(box->caption, box->text, box->buttons);
    if (box->buttons == BoxButtons::Ok || answer != BoxAnswer::Retry) {
        end(box->cancelResult);
        return;
    }
    if (step == StartStep::WriteFailed) {
        detectAndPost();
    } else if (step == StartStep::SeveralMedia || step == StartStep::NoMedium) {
        retryDetection();
    } else if (step == StartStep::IdTooLong) {
        student_.studentId[0] = '\0';
        view_.clearIdField();
        post(StartStep::NotRegistered);
    } else if (step == StartStep::PasswordTooLong) {
        student_.typedPassword[0] = '\0';
        view_.clearPasswordField();
        post(StartStep::ChoosePassword);
    }
}

void StartSteps::handleStep(StartStep step) {
    if (ended_)
        return;
    if (failureBox(step)) {
        stepBox(step);
        return;
    }
    if (step == StartStep::OneMedium) {
        post(readKeyFile(student_));
        return;
    }
    // The steps that show a prompt of the dialog.
    static constexpr struct {
        StartStep step;
        void (StartSteps::*show)();
    } kPrompts[] = {
        {StartStep::NotRegistered, &StartSteps::showRegistrationPrompt},
        {StartStep::ChoosePassword, &StartSteps::showNewPasswordPrompt},
        {StartStep::KeyRead, &StartSteps::showPasswordPrompt},
        {StartStep::PasswordAgain, &StartSteps::showPasswordAgainPrompt},
    };
    for (const auto& prompt : kPrompts) {
        if (prompt.step == step) {
            (this->*prompt.show)();
            return;
        }
    }
    // Anything else, in practice WrongPassword from a damaged key file, ends the dialog.
    end(endingOf(step));
}

void StartSteps::startWithGrades() {
    if (!ended_)
        detectAndPost();
}

void StartSteps::startUngraded() {
    if (ended_)
        return;
    student_.graded = false;
    end(StateCode::LessonSelection);
}

void StartSteps::readGrades() {
    if (!ended_)
        end(StateCode::GradeReview);
}

void StartSteps::openNotes() {
    if (!ended_)
        end(StateCode::NotesReader);
}

void StartSteps::quit() {
    if (!ended_)
        end(StateCode::Quit);
}

void StartSteps::helpOnStarting() {
    if (!ended_)
        showHelp(HelpTopic::Starting);
}

void StartSteps::about() {
    if (!ended_)
        showHelp(HelpTopic::About);
}

void StartSteps::enterInIdField() {
    if (ended_)
        return;
    const std::string entry = view_.idText().substr(0, kMaxIdLength);
    setText(student_.studentId, entry);
    if (!acceptEntry(entry))
        return;
    post(StartStep::ChoosePassword);
}

void StartSteps::enterInPasswordField() {
    if (ended_)
        return;
    const std::string entry = view_.passwordText().substr(0, kMaxPasswordLength);
    setText(student_.typedPassword, entry);
    if (entry.empty()) {
        acceptEntry(entry);
        return;
    }
    if (!acceptEntry(entry)) {
        student_.typedPassword[0] = '\0';
        view_.clearPasswordField();
        return;
    }
    // Only registration and the login steps take a password; Enter at any other step does
    // nothing more.
    const std::optional<StartStep> step = step_;
    const bool registering = step == StartStep::ChoosePassword;
    if (!registering && step != StartStep::KeyRead && step != StartStep::PasswordAgain)
        return;
    if (registering) {
        view_.setMessage("Registering your name and password on floppy.....");
        if (writeKeyFile(student_) != KeyDiskCode::KeyWritten) {
            post(StartStep::WriteFailed);
            return;
        }
    } else if (checkPassword(student_) != KeyDiskCode::PasswordRight) {
        messageBox("Incorrect password.", "Please try again.");
        student_.typedPassword[0] = '\0';
        view_.clearPasswordField();
        post(StartStep::PasswordAgain);
        return;
    }
    student_.graded = true;
    end(StateCode::LessonSelection);
}

void StartSteps::idFieldOverflow() {
    if (!ended_ && step_ == StartStep::NotRegistered)
        post(StartStep::IdTooLong);
}

void StartSteps::passwordFieldOverflow() {
    if (!ended_ && step_ == StartStep::ChoosePassword)
        post(StartStep::PasswordTooLong);
}

} // namespace lorvenna

// The grade review's steps over the key disk, the grade scan and the export writer.
#include "records/GradeReviewSteps.h"

#include "items/RunObjects.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/MessageBox.h"
#include "records/GradeExport.h"
#include "records/GradeScan.h"
#include "records/Help.h"
#include "records/KeyDisk.h"

#include <algorithm>
#include <cstring>

namespace lorvenna {

namespace {

constexpr const char* kListing = "Finding and listing grades on this disk....";
constexpr const char* kListed =
    "Now you can write down these grades on paper, or add them to a text file on hard disk "
    "(via Save File below.)";
constexpr const char* kNoFileName = "You forgot to specify a file name.";
constexpr const char* kNoPrinter = "Printer not available or not turned on!";

} // namespace

GradeReviewSteps::GradeReviewSteps(GradeReviewView& view, Student& student)
    : view_(view), student_(student) {
    if (student_.graded)
        loggedIn_ = student_;
}

void GradeReviewSteps::end(StateCode result) {
    if (loggedIn_)
        student_ = *loggedIn_;
    ended_ = true;
    result_ = result;
    view_.endDialog(result);
}

void GradeReviewSteps::checkDisk() {
    if (ended_)
        return;
    view_.setStatus("Checking validity of key disk...");
    view_.showLines(lines_);
    if (!keyDiskRead())
        return;
    listGrades();
}

// Drive detection and the key file; a problem shows its box and ends the review.
bool GradeReviewSteps::keyDiskRead() {
    const KeyDiskCode drive = detectKeyDrive(student_);
    if (drive == KeyDiskCode::SeveralMedia) {
        messageBox("Two or more disks are inserted.",
                   "Remove all but the Lorvenna disk and restart.");
        end(StateCode::StartDialog);
        return false;
    }
    if (drive == KeyDiskCode::NoDrive || drive == KeyDiskCode::NoMedium) {
        messageBox("No removable disk available.", "Restart after inserting your disk.");
        end(StateCode::StartDialog);
        return false;
    }
    const KeyDiskCode key = readKeyFile(student_);
    if (key == KeyDiskCode::KeyRead)
        return true;
    if (key == KeyDiskCode::NotRegistered)
        messageBox("A disk is present but not registered for Lorvenna.", "Returning to main menu.");
    else // write-protected or a damaged key file
        messageBox("Unknown problem: may be a write-protected disk.",
                   "Insert a different disk and hit New Disk.");
    end(StateCode::StartDialog);
    return false;
}

void GradeReviewSteps::listGrades() {
    setText(student_.studentId, fieldView(student_.keyId));
    view_.setNameField(fieldView(student_.studentId));
    view_.setStatus(kListing);
    lines_.clear();
    GradeScan scan(lines_, student_);
    const GradeListing found = scan.listAllLessons();
    // The list box keeps its lines in order without regard to case.
    std::stable_sort(lines_.begin(), lines_.end(),
                     [](const std::string& a, const std::string& b) { return lessFolded(a, b); });
    view_.showLines(lines_);
    switch (found) {
    case GradeListing::NoGrades:
        messageBox("Disk contains no grades.", scan.otherOwners());
        break;
    case GradeListing::OwnersOnly:
        view_.setStatus(kListed);
        break;
    case GradeListing::OwnersAndOthers:
        messageBox("Disk also contains grades from:", scan.otherOwners());
        view_.setStatus(kListed);
        break;
    case GradeListing::OthersOnly:
        messageBox("Disk contains no grades from key owner, only grades from:", scan.otherOwners());
        break;
    }
    scan.clearOtherOwners();
}

void GradeReviewSteps::saveToFile() {
    if (ended_)
        return;
    switch (exportGrades(view_.saveFieldText(), lines_, fieldView(student_.studentId))) {
    case ExportResult::Written:
        view_.setStatus("Now you can either insert another disk and hit the New Disk button, or "
                        "return to main menu.");
        return;
    case ExportResult::NoName:
        view_.setStatus(kNoFileName);
        return;
    case ExportResult::Exists:
        messageBox("Try again!", "That file (or folder) already exists.");
        view_.clearSaveField();
        view_.focusSaveField();
        view_.setStatus(kNoFileName);
        return;
    case ExportResult::Failed:
        messageBox("The grades could not be saved.",
                   "The disk may be full or write-protected. Try another name or disk.");
        view_.focusSaveField();
        view_.setStatus("The grades were not saved. Try another name or disk.");
        return;
    }
}

void GradeReviewSteps::print() {
    if (ended_)
        return;
    if (!printGrades(lines_, fieldView(student_.studentId))) {
        view_.setStatus(kNoPrinter);
        return;
    }
    view_.setStatus("Sending grades to default printer. You can insert another disk and hit the "
                    "New Disk button, or return to main menu.");
}

void GradeReviewSteps::newDisk() {
    if (ended_)
        return;
    lines_.clear();
    view_.showLines(lines_);
    student_.studentId[0] = '\0';
    student_.keyId[0] = '\0';
    student_.typedPassword[0] = '\0';
    student_.keyPassword[0] = '\0';
    view_.setNameField("");
    view_.clearSaveField();
    checkDisk();
}

void GradeReviewSteps::help() {
    if (!ended_)
        showHelp(HelpTopic::Report);
}

void GradeReviewSteps::mainMenu() {
    if (!ended_)
        end(StateCode::LessonSelection);
}

} // namespace lorvenna

// The grade review's steps: checking the key disk, listing its grades, saving them to a
// file, printing them, another disk. It knows nothing of widgets; the dialog shows it
// through GradeReviewView.
#pragma once

#include "items/Codes.h"
#include "records/Student.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

class GradeReviewView {
public:
    virtual ~GradeReviewView() = default;

    virtual void setStatus(std::string_view text) = 0;
    virtual void setNameField(std::string_view text) = 0;
    virtual std::string saveFieldText() const = 0;
    virtual void clearSaveField() = 0;
    virtual void focusSaveField() = 0;
    // Shows the lines in the list, selects the first and gives the list the focus.
    virtual void showLines(const std::vector<std::string>& lines) = 0;
    virtual void endDialog(StateCode result) = 0;
};

// In a graded session the student who logged in stays logged in: the review reads other
// disks ("New disk") into the session's ID and key fields, and puts the student's own back
// when it ends, so that the grades that follow go to the student's disk under the student's
// name, and a disk put back takes them.
class GradeReviewSteps {
public:
    GradeReviewSteps(GradeReviewView& view, Student& student);

    // On opening, and after "New disk".
    void checkDisk();
    // Enter in the save field.
    void saveToFile();
    void print();
    void newDisk();
    void help();
    void mainMenu();

    // The grade list, sorted as it is shown.
    const std::vector<std::string>& lines() const { return lines_; }
    bool ended() const { return ended_; }
    StateCode result() const { return result_; }

private:
    void end(StateCode result);
    bool keyDiskRead();
    void listGrades();

    GradeReviewView& view_;
    Student& student_;
    std::optional<Student> loggedIn_; // the graded session's student, put back at the end
    std::vector<std::string> lines_;
    bool ended_ = false;
    StateCode result_ = StateCode::LessonSelection;
};

} // namespace lorvenna

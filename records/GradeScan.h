// Reading the grade files of a key disk back: the grade lines of one lesson, the listing of
// every lesson, and the names of the other students whose grades were found.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

// The grade files are those of session().keyDrive; a record is the key owner's when its
// name is session().studentId. The lines go to the list the caller gives.
class GradeScan {
public:
    explicit GradeScan(std::vector<std::string>& lines) : lines_(lines) {}

    // Called after each line added (the review redraws its list there).
    void onLineAdded(std::function<void()> callback) { lineAdded_ = std::move(callback); }

    // The lines of one lesson, in order of sequence number. Returns the number of lines
    // added, or -1 when the other-owners list is not empty after the scan.
    int scanLesson(long major, long minor);

    // Empties the other-owners list and scans every lesson of "LSNS\*.LSN". Returns 1 when
    // lines were listed and no lesson had other owners, 2 when both, 3 when only other
    // owners, 0 when neither. The other-owners list stays filled for the caller.
    int listAllLessons();

private:
    void addLine(std::string line);

    std::vector<std::string>& lines_;
    std::function<void()> lineAdded_;
};

// The other-owners list: the names of the other students whose records were met, joined
// with " and ", at most 2047 characters. It is held in session().bigText.
const char* otherOwners();
void clearOtherOwners();
void addOtherOwner(std::string_view name);

// The two numbers that begin a lesson file name ("03-12.LSN"); false when the name does not
// begin with two numbers joined by a hyphen.
bool lessonNumbersFromFileName(std::string_view fileName, long& major, long& minor);

} // namespace lorvenna

// Reading the grade files of a key disk back: the grade lines of one lesson, the listing of
// every lesson, and the names of the other students whose grades were found.
#pragma once

#include "records/GradeRecord.h"
#include "records/Student.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

// What listing every lesson found on a disk.
enum class GradeListing : int {
    NoGrades = 0,
    OwnersOnly = 1,      // grades of the key owner alone
    OwnersAndOthers = 2, // the key owner's and other students' grades
    OthersOnly = 3,      // other students' grades, none valid of the key owner
};

// The grade files are those on the key drive of the student given; a record is the key
// owner's when its name is the student's ID. The lines go to the list the caller gives.
class GradeScan {
public:
    GradeScan(std::vector<std::string>& lines, const Student& owner)
        : lines_(lines), owner_(owner) {}

    // Called after each line added (the review redraws its list there).
    void onLineAdded(std::function<void()> callback) { lineAdded_ = std::move(callback); }

    // The lines of one lesson, in order of sequence number. Returns the number of lines
    // added, or -1 when the other-owners list is not empty after the scan.
    int scanLesson(long major, long minor);

    // Empties the other-owners list and scans every lesson of "LSNS\*.LSN". The other-owners
    // list stays filled for the caller.
    GradeListing listAllLessons();

    // The names of the other students whose records were met, joined with " and ", at most
    // 2047 characters.
    const std::string& otherOwners() const { return otherOwners_; }
    void clearOtherOwners() { otherOwners_.clear(); }
    void addOtherOwner(std::string_view name);

private:
    void addLine(std::string line);

    std::vector<std::string>& lines_;
    const Student& owner_;
    std::function<void()> lineAdded_;
    std::string otherOwners_;
    int validLessons_ = 0; // lessons with a valid grade of the key owner
};

// Reads the record of one grade file; false when there is none or it is short.
bool readGradeFile(const std::string& name, GradeRecord& record);

// The grade files of one lesson on drive as the scan reads them: sequence numbers from 1 up
// to the first missing file, or the first shorter than a record. Returns that first sequence
// number not visited (1000 when all 999 were).
long visitGradeFiles(char drive, long major, long minor,
                     const std::function<void(long sequence, const GradeRecord&)>& visit);

// The two numbers that begin a lesson file name ("03-12.LSN"); false when the name does not
// begin with two numbers joined by a hyphen.
bool lessonNumbersFromFileName(std::string_view fileName, long& major, long& minor);

} // namespace lorvenna

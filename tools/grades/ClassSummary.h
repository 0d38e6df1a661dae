// The class at a glance: each student's best valid percentage in each lesson, how many valid
// attempts it took, and the class's spread in each lesson. Rows that are not valid never
// count here.
#pragma once

#include "tools/grades/GradeTable.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lorvenna {

using LessonNumbers = std::pair<long, long>; // major, minor

struct LessonColumn {
    LessonNumbers numbers;
    std::string title; // from the course's lesson file, without "Lesson NN-NN"; may be empty
    // "03-12" or "03-12 Forces and motion"
    std::string label() const;
    std::string number() const;
};

struct SummaryCell {
    int attempts = 0; // valid attempts
    double best = 0;  // the best valid percentage; meaningless when attempts is 0
    bool tried() const { return attempts > 0; }
};

struct SummaryStudent {
    std::string name;
    std::vector<SummaryCell> cells; // one per lesson column
    std::vector<GradeRow> history;  // the valid attempts, oldest first
};

// The spread of the students' best percentages in one lesson (those who tried it).
struct LessonSpread {
    int tried = 0;
    int notTried = 0;
    double low = 0, lowerQuartile = 0, median = 0, upperQuartile = 0, high = 0;
};

// The titles of the lessons of a course folder (its LSNS folder), by lesson number: the
// numbers of the title line's "Lesson NN-NN" or else of the file name, as lesson selection
// takes them. problem says why there are none when the folder cannot be read.
std::map<LessonNumbers, std::string> readCourseTitles(const std::string& folder,
                                                      std::string& problem);

class ClassSummary {
public:
    // Every registered disk's owner is a student, with or without valid grades; the lessons
    // are the course's (when titles are given) and every lesson with a valid grade.
    ClassSummary(const GradeTable& table, const std::map<LessonNumbers, std::string>& titles);

    const std::vector<LessonColumn>& lessons() const { return lessons_; }
    // Sorted by name, ignoring case; one student per name whatever its letter case.
    const std::vector<SummaryStudent>& students() const { return students_; }
    LessonSpread spread(std::size_t lesson) const;

    // student,<lesson>,<number> attempts,... with CR LF line ends; a blank best for a lesson
    // never tried.
    std::string csv() const;

private:
    std::vector<LessonColumn> lessons_;
    std::vector<SummaryStudent> students_;
};

} // namespace lorvenna

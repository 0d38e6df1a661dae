// Scoring a lesson when it ends, and the grade file written in a graded session.
#pragma once

#include "records/Student.h"

#include <string>

namespace lorvenna {

// The box of a grade the key disk did not take (pulled out, full, write-protected): Retry
// tries again, Cancel goes on without it.
inline constexpr const char* kGradeNotSavedCaption = "Your grade was not saved.";
inline constexpr const char* kGradeNotSavedText =
    "The grade of this lesson could not be written to your key disk: it is not in its drive, "
    "or it is full or write-protected. Put the key disk back or make room on it, then press "
    "Retry. Cancel goes on without saving this grade.";

// What scoring a lesson came to.
enum class ScoreOutcome {
    NotScored,    // left on page 1, or a lesson without questions: no score shown
    Shown,        // the score was shown; an ungraded session keeps nothing more
    GradeSaved,   // and the grade file is on the key disk
    GradeNotSaved // the student gave the grade up, or no grade could be made (all taken)
};

// Shows the score and, in a graded session, writes the grade and the bookmark.
[[nodiscard]] ScoreOutcome scoreLesson(Student& student);

// The text of the score box for right answers, answered questions and the lesson's total.
std::string scoreText(long right, long answered, long total);

} // namespace lorvenna

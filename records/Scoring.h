// Scoring a lesson when it ends, and the grade file written in a graded session.
#pragma once

#include <string>

namespace lorvenna {

// The box of a grade the key disk did not take (pulled out, full, write-protected): Retry
// tries again, Cancel goes on without it.
inline constexpr const char* kGradeNotSavedCaption = "Your grade was not saved.";
inline constexpr const char* kGradeNotSavedText =
    "The grade of this lesson could not be written to your key disk: it is not in its drive, "
    "or it is full or write-protected. Put the key disk back or make room on it, then press "
    "Retry. Cancel goes on without saving this grade.";

// 1 when finished normally (also when nothing was scored), 0 when a graded session could
// not write its grade.
int scoreLesson();

// The text of the score box for right answers, answered questions and the lesson's total.
std::string scoreText(long right, long answered, long total);

} // namespace lorvenna

// Scoring a lesson when it ends, and the grade file written in a graded session.
#pragma once

#include <string>

namespace lorvenna {

// 1 when finished normally (also when nothing was scored), 0 when a graded session could
// not write its grade.
int scoreLesson();

// The text of the score box for right answers, answered questions and the lesson's total.
std::string scoreText(long right, long answered, long total);

} // namespace lorvenna

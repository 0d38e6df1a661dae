// Scoring a lesson when it ends, and the grade file written in a graded session.
#pragma once

// 1 when finished normally (also when nothing was scored), 0 when a graded session could
// not write its grade.
int ScoreLesson();

// Lesson selection: lists the lessons of LSNS by their title lines and returns the next state.
#pragma once

namespace lorvenna {

// Runs the "Selecting lesson." dialog: 9 start, 10 start from bookmark, 5 grade review,
// -4 quit, -5 no lesson could be listed.
int RunLessonSelection();

} // namespace lorvenna

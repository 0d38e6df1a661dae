// Lesson selection: lists the lessons of LSNS by their title lines and returns the next state.
#pragma once

#include "items/Codes.h"

namespace lorvenna {

// Runs the "Selecting lesson." dialog: SetUpLesson, ResumeLesson (from the bookmark),
// GradeReview, Quit, or BadLesson when no lesson could be listed.
// bookmarkDrive: the key disk of a graded session, whose bookmarks mark their lessons; 0 for none.
StateCode runLessonSelection(char bookmarkDrive);

// What the fatal exit says when lesson selection found no lesson to list.
inline constexpr const char* kNoLessonListed = "No lesson file in LSNS could be read.";

} // namespace lorvenna

// The start dialog: ungraded start, key disk registration and login, grade review, quit.
#pragma once

#include "shell/Codes.h"

namespace lorvenna {

// Returns the controller's next state: LessonSelection, GradeReview, NotesReader,
// StartDialog (again), Quit or WrongPassword.
StateCode runStartDialog();

} // namespace lorvenna

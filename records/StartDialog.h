// The start dialog: ungraded start, key disk registration and login, grade review, quit.
#pragma once

#include "items/Codes.h"
#include "records/Student.h"

namespace lorvenna {

// Returns the controller's next state: LessonSelection, GradeReview, NotesReader,
// StartDialog (again), Quit or WrongPassword.
StateCode runStartDialog(Student& student);

} // namespace lorvenna

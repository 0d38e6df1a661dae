// Grade review: the list of grades on a key disk, with export and printing.
#pragma once

#include "items/Codes.h"
#include "records/Student.h"

namespace lorvenna {

// Runs the review dialog; returns the next controller state: LessonSelection, or
// StartDialog after any disk problem.
StateCode runGradeReview(Student& student);

} // namespace lorvenna

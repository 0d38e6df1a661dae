// Grade review: the list of grades on a key disk, with export and printing.
#pragma once

#include "shell/Codes.h"

namespace lorvenna {

// Returns the next controller state: LessonSelection or StartDialog.
StateCode runGradeReview();

} // namespace lorvenna

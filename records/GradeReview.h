// Grade review: the list of grades on a key disk, with export and printing.
#pragma once

namespace lorvenna {

// Returns the next controller state: 7 or 0.
int RunGradeReview();

} // namespace lorvenna

// Grade review: the list of grades on a key disk, with export and printing.
#pragma once

namespace lorvenna {

// Runs the review dialog; returns the next controller state: 7 (lesson selection) or 0
// (start dialog, after any disk problem).
int RunGradeReview();

} // namespace lorvenna

// Callers outside the namespace.
using lorvenna::RunGradeReview;

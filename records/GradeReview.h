// Grade review: the list of grades on a key disk, with export and printing.
#pragma once

// Returns the next controller state: 7 or 0.
int RunGradeReview();

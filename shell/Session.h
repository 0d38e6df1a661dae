// The shell's part of the run: the student playing (their key disk, ids and passwords), which
// the controller hands to the start dialog, the grade review, the notes and the scoring.
// items/RunObjects.h lists the run's other globals.
#pragma once

#include "records/Student.h"

namespace lorvenna {

struct Session {
    Student student;
};

Session& session();
// Puts the student, the lesson, the page on screen, the screen's scale and the main window's
// services back to their start values (tests; the displays and pages are not freed).
void resetSession();

} // namespace lorvenna

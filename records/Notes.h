// Notes the student writes during a lesson, and the notes reader.
#pragma once

#include "shell/Codes.h"

namespace lorvenna {

// The note dialog, and the box that tells where the note went. Returns 0 (cancelled), 1
// (saved in the working folder), 2 (on the key disk) or 3 (saved because the box was full).
int runNoteDialog();
// The notes reader; returns the next controller state, always StartDialog.
StateCode runNotesReader();

} // namespace lorvenna

// Notes the student writes during a lesson, and the notes reader.
#pragma once

#include "shell/Codes.h"

namespace lorvenna {

void runNoteDialog();
// Returns the next controller state.
StateCode runNotesReader();

} // namespace lorvenna

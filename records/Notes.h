// Notes the student writes during a lesson, and the notes reader.
#pragma once

namespace lorvenna {

void RunNoteDialog();
// Returns the next controller state.
int RunNotesReader();

} // namespace lorvenna

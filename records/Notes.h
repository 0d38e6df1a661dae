// Notes the student writes during a lesson, and the notes reader.
#pragma once

#include "records/NoteFile.h"
#include "shell/Codes.h"

namespace lorvenna {

// The note dialog, and the box that tells where the note went.
NoteSaved runNoteDialog();
// The notes reader; returns the next controller state, always StartDialog.
StateCode runNotesReader();

} // namespace lorvenna

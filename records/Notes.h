// Notes the student writes during a lesson, and the notes reader.
#pragma once

#include "items/Codes.h"
#include "records/NoteFile.h"
#include "records/Student.h"

namespace lorvenna {

// The note dialog, and the box that tells where the note went.
NoteSaved runNoteDialog(const Student& student);
// The notes reader; returns the next controller state, always StartDialog.
StateCode runNotesReader(Student& student);

} // namespace lorvenna

// Notes. Stand-in: writing and reading notes come with the notes work; until then the note
// dialog does nothing and the notes reader goes on to lesson selection.
#include "records/Notes.h"

namespace lorvenna {

void runNoteDialog() {}
StateCode runNotesReader() {
    return StateCode::LessonSelection;
}

} // namespace lorvenna

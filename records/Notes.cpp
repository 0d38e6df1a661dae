// Notes. Stand-in: writing and reading notes come with the notes work; until then the note
// dialog does nothing and the notes reader goes on to lesson selection (state 7).
#include "records/Notes.h"

namespace lorvenna {

void RunNoteDialog() {}
int RunNotesReader() {
    return 7;
}

} // namespace lorvenna

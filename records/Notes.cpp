// Notes. Stand-in: writing and reading notes come with the notes work; until then the note
// dialog does nothing and the notes reader returns straight to the start dialog (state 0).
#include "records/Notes.h"

void RunNoteDialog() {}
int RunNotesReader() { return 0; }

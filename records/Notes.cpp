// The note dialog with its confirmation, and the notes reader, run modally over the main window.
#include "records/Notes.h"

#include "platform/MessageBox.h"
#include "records/NoteDialog.h"
#include "records/NotesReaderDialog.h"
#include "shell/AppServices.h"
#include "shell/SessionState.h"

#include <QWidget>

namespace lorvenna {

namespace {

const char* confirmation(NoteSaved saved) {
    switch (saved) {
    case NoteSaved::Cancelled:
        return nullptr;
    case NoteSaved::WorkingFolder:
        return "Your note was saved in the Lorvenna folder as";
    case NoteSaved::KeyDisk:
        return "Your note was saved to the grading disk as";
    case NoteSaved::FullBox:
        return "End of box. Note automatically saved in the Lorvenna folder as";
    }
    return nullptr;
}

} // namespace

NoteSaved runNoteDialog() {
    NoteDialog dialog(dynamic_cast<QWidget*>(session().mainWindow));
    const NoteSaved saved = dialog.run();
    if (const char* caption = confirmation(saved))
        messageBox(caption, dialog.savedName());
    return saved;
}

StateCode runNotesReader() {
    NotesReaderDialog dialog(dynamic_cast<QWidget*>(session().mainWindow));
    return dialog.run();
}

} // namespace lorvenna

// The note dialog with its confirmation, and the notes reader, run modally over the main window.
#include "records/Notes.h"

#include "items/AppServices.h"
#include "items/RunObjects.h"
#include "platform/MessageBox.h"
#include "records/NoteDialog.h"
#include "records/NotesReaderDialog.h"

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

NoteSaved runNoteDialog(const Student& student) {
    NoteDialog dialog(student, dialogOwner());
    const NoteSaved saved = dialog.run();
    const char* caption = confirmation(saved);
    // A box that filled up saved itself while the student was still typing: what follows
    // must not answer the confirmation, nor reach the lesson as page keys.
    if (saved == NoteSaved::FullBox)
        confirmBox(caption, dialog.savedName());
    else if (caption)
        messageBox(caption, dialog.savedName());
    return saved;
}

StateCode runNotesReader(Student& student) {
    NotesReaderDialog dialog(student, dialogOwner());
    return dialog.run();
}

} // namespace lorvenna

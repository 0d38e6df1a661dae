// The notes reader's steps over the key disk and the note files.
#include "records/NotesReaderSteps.h"

#include "items/RunObjects.h"
#include "platform/MessageBox.h"
#include "records/Help.h"
#include "records/KeyDisk.h"
#include "records/NoteFile.h"

#include <cstring>

namespace lorvenna {

void NotesReaderSteps::end() {
    ended_ = true;
    // The reader always returns to the start dialog.
    view_.endDialog(StateCode::StartDialog);
}

void NotesReaderSteps::start() {
    if (ended_)
        return;
    view_.setStatus("Checking validity of key disk...");
    const KeyDiskCode drive = detectKeyDrive(student_);
    if (drive == KeyDiskCode::SeveralMedia) {
        messageBox("Two or more disks are inserted.",
                   "Remove all but the Lorvenna disk and restart.");
        end();
        return;
    }
    if (drive == KeyDiskCode::NoDrive) {
        messageBox("No disk drive on this computer!", "Restart on a different machine.");
        end();
        return;
    }
    if (drive == KeyDiskCode::NoMedium) {
        messageBox("No removable disk available.", "Insert your disk or drive and try again.");
        end();
        return;
    }
    view_.setStatus("Finding and listing Notes on this disk....");
    names_ = listNotes(student_.keyDrive);
    if (names_.empty()) {
        messageBox("No notes on this disk.", "Try another disk.");
        end();
        return;
    }
    view_.showNotes(names_);
    view_.setStatus("Click on a note to read it, or print all by hitting the Print button.\nEach "
                    "note will occupy a separate page, so be sure the printer is loaded!");
}

void NotesReaderSteps::readNote(int row) {
    if (ended_ || row < 0 || static_cast<std::size_t>(row) >= names_.size())
        return;
    const std::optional<std::string> text =
        readShownText(noteOnDisk(student_.keyDrive, names_[static_cast<std::size_t>(row)]));
    if (text)
        view_.showNote(*text);
}

void NotesReaderSteps::printAll() {
    if (ended_)
        return;
    view_.setStatus(printNotes(student_.keyDrive, names_)
                        ? "Printing all notes."
                        : "Printer not available or not turned on!");
}

void NotesReaderSteps::quit() {
    if (!ended_)
        end();
}

} // namespace lorvenna

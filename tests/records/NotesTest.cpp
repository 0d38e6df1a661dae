// Notes offscreen: written through the real note dialog in both kinds of session, found,
// read and printed by the real notes reader, and the failures that keep the text.
#include "records/NoteDialog.h"

#include "items/RunObjects.h"
#include "platform/Clock.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "records/DialogControls.h"
#include "records/Help.h"
#include "records/HelpViewer.h"
#include "records/NoteFile.h"
#include "records/Notes.h"
#include "records/NotesReaderDialog.h"
#include "shell/Session.h"
#include "tests/records/ModalSteps.h"
#include "tests/support/SaveFaults.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestClock.h"
#include "tests/support/WorkFolder.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace lorvenna {

namespace {

QPlainTextEdit* box(NoteDialog& d) {
    return findControl<QPlainTextEdit>(d, NoteDialog::kTextId);
}

bool listShown(NotesReaderDialog& d) {
    return findControl<QListWidget>(d, NotesReaderDialog::kListId)->isVisible();
}

std::string status(NotesReaderDialog& d) {
    return findControl<QLabel>(d, NotesReaderDialog::kStatusId)->text().toStdString();
}

class NotesTest : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        clock.setLocalTime(LocalTime{2026, 12, 8, 9, 5, 0});
        setText(lesson().lessonName, "03-12");
        lesson().turnTo(4);
    }

    void graded() {
        work.addDrive('E');
        session().student.graded = true;
        session().student.keyDrive = 'E';
    }

    // Writes a note through the dialog: typed text, then Enter.
    NoteSaved writeNote(const std::string& text) {
        ModalSteps user;
        user.then<NoteDialog>("note typed", [&](NoteDialog& d) {
            typeText(box(d), text);
            pressKey(box(d), Qt::Key_Return);
        });
        return user.run(runNoteDialog);
    }

    static std::string heading(int number) {
        return "\r\nNOTE\r\nLesson 03-12, note " + std::to_string(number) +
               " at page 4:\r\nDate 12/8/2026 Time 09:05\r\n";
    }

    WorkFolder work;
    ScriptedBoxes boxes;
    TestClock clock;
};

} // namespace

TEST_F(NotesTest, TwoNotesAreNumberedAndHeaded) {
    ModalSteps user;
    user.then<NoteDialog>("two lines typed", [](NoteDialog& d) {
        typeText(box(d), "one");
        pressKey(box(d), Qt::Key_Return, Qt::ControlModifier); // a line break, not a save
        typeText(box(d), "two");
        findControl<QPushButton>(d, NoteDialog::kDoneId)->click();
    });
    EXPECT_EQ(user.run(runNoteDialog), NoteSaved::WorkingFolder);
    EXPECT_EQ(writeNote("Second"), NoteSaved::WorkingFolder);
    EXPECT_EQ(work.read("Lesson03-12Note0001.TXT"), heading(1) + "one\r\ntwo");
    EXPECT_EQ(work.read("Lesson03-12Note0002.TXT"), heading(2) + "Second");
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].caption, "Your note was saved in the Lorvenna folder as");
    EXPECT_EQ(boxes.shown()[1].text, "Lesson03-12Note0002.TXT");
}

TEST_F(NotesTest, CancelSavesNothing) {
    ModalSteps user;
    user.then<NoteDialog>("typed and cancelled", [](NoteDialog& d) {
        typeText(box(d), "not kept");
        pressKey(box(d), Qt::Key_Escape);
    });
    EXPECT_EQ(user.run(runNoteDialog), NoteSaved::Cancelled);
    EXPECT_FALSE(work.exists("Lesson03-12Note0001.TXT"));
    EXPECT_TRUE(boxes.shown().empty());
}

// Keys typed on after the full box was saved (still queued when it closed) neither save
// further notes nor take the saved one back.
TEST_F(NotesTest, FullBoxSavesAtOnce) {
    ModalSteps user;
    user.then<NoteDialog>("box typed full", [](NoteDialog& d) {
        for (int line = 0; line < 100 && d.isVisible(); ++line) {
            typeText(box(d), "line");
            pressKey(box(d), Qt::Key_Return, Qt::ControlModifier);
        }
        typeText(box(d), "late");
        pressKey(box(d), Qt::Key_Escape);
    });
    EXPECT_EQ(user.run(runNoteDialog), NoteSaved::FullBox);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption,
              "End of box. Note automatically saved in the Lorvenna folder as");
    EXPECT_EQ(boxes.shown()[0].text, "Lesson03-12Note0001.TXT");
    const std::string note = work.read("Lesson03-12Note0001.TXT");
    EXPECT_EQ(note.rfind(heading(1) + "line\r\nline", 0), 0u);
    EXPECT_FALSE(work.exists("Lesson03-12Note0002.TXT"));
}

// A note that cannot be written says so and keeps its text; nothing claims it was saved.
TEST_F(NotesTest, UnwritableNoteKeepsTheDialogOpen) {
    graded();
    std::filesystem::permissions(work.path() + "/drive-E", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    ModalSteps user;
    user.then<NoteDialog>("saved in vain", [&](NoteDialog& d) {
        typeText(box(d), "keep me");
        pressKey(box(d), Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(box(d)->toPlainText(), "keep me");
        findControl<QPushButton>(d, NoteDialog::kCancelId)->click();
    });
    EXPECT_EQ(user.run(runNoteDialog), NoteSaved::Cancelled);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Your note could not be saved.");
    std::filesystem::permissions(work.path() + "/drive-E", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST_F(NotesTest, AllNumbersTakenOverwritesNothing) {
    for (long number = 1; number <= kLastNoteNumber; ++number) {
        const std::string name = noteFileName("", "03-12", number);
        std::FILE* file = std::fopen((work.path() + "/" + name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
    }
    const NoteSave save = saveNote(session().student, "text", false);
    EXPECT_EQ(save.outcome, NoteSave::Outcome::AllNumbersTaken);
    EXPECT_EQ(work.read("Lesson03-12Note9999.TXT"), "");
}

// Graded notes go where the reader looks: the LORVENNA folder of the key disk.
TEST_F(NotesTest, GradedNotesAreFoundReadAndPrinted) {
    graded();
    EXPECT_EQ(writeNote("On the disk"), NoteSaved::KeyDisk);
    EXPECT_EQ(writeNote("Another"), NoteSaved::KeyDisk);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].caption, "Your note was saved to the grading disk as");
    EXPECT_EQ(boxes.shown()[0].text, "E:\\LORVENNA\\Lesson03-12Note0001.TXT");
    EXPECT_EQ(work.read("drive-E/LORVENNA/Lesson03-12Note0001.TXT"), heading(1) + "On the disk");

    const std::string pdf = work.path() + "/notes.pdf";
    setenv("LORVENNA_PRINT_PDF", pdf.c_str(), 1);
    std::string read;
    ModalSteps user;
    user.then<NotesReaderDialog>("second note opened", listShown, [](NotesReaderDialog& d) {
        auto* list = findControl<QListWidget>(d, NotesReaderDialog::kListId);
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(1)->text(), "Lesson03-12Note0002.TXT");
        emit list->itemDoubleClicked(list->item(1));
    });
    user.then<HelpViewer>("note read", [&](HelpViewer& viewer) {
        read = viewer.text().toStdString();
        EXPECT_EQ(viewer.windowTitle(), "Lorvenna: Note");
        pressKey(&viewer, Qt::Key_Escape);
    });
    user.then<NotesReaderDialog>("all printed", [](NotesReaderDialog& d) {
        findControl<QPushButton>(d, NotesReaderDialog::kPrintAllId)->click();
        EXPECT_EQ(status(d), "Printing all notes.");
        pressKey(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(user.run(runNotesReader), StateCode::StartDialog);
    unsetenv("LORVENNA_PRINT_PDF");
    EXPECT_EQ(read, "\nNOTE\nLesson 03-12, note 2 at page 4:\nDate 12/8/2026 Time 09:05\nAnother");
    const std::vector<std::string> pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(pages[0].find("On the disk"), std::string::npos);
    EXPECT_NE(pages[1].find("Lesson 03-12, note 2 at page 4:"), std::string::npos);
}

// A note is kept in the 8-bit code page when it fits, as UTF-8 when it needs to, and the
// reader gives both back as written.
TEST_F(NotesTest, NotesKeepTheCodePageUnlessTheyNeedUtf8) {
    graded();
    const std::string cafe = "caf\xC3\xA9";
    const std::string greek = "\xCE\xBA\xCF\x8D\xCE\xBA\xCE\xBB\xCE\xBF\xCF\x82";
    for (const std::string& typed : {cafe, greek}) {
        ModalSteps user;
        user.then<NoteDialog>("note typed", [&](NoteDialog& d) {
            box(d)->setPlainText(QString::fromStdString(typed));
            pressKey(box(d), Qt::Key_Return);
        });
        EXPECT_EQ(user.run(runNoteDialog), NoteSaved::KeyDisk);
    }
    EXPECT_EQ(work.read("drive-E/LORVENNA/Lesson03-12Note0001.TXT"), heading(1) + "caf\xE9");
    EXPECT_EQ(work.read("drive-E/LORVENNA/Lesson03-12Note0002.TXT"), heading(2) + greek);
    EXPECT_EQ(readShownText(noteOnDisk('E', "Lesson03-12Note0001.TXT")), heading(1) + cafe);
    EXPECT_EQ(readShownText(noteOnDisk('E', "Lesson03-12Note0002.TXT")), heading(2) + greek);
}

// One note is printed like any other; without a printer the status says so.
TEST_F(NotesTest, SingleNoteIsPrinted) {
    graded();
    work.write("drive-E/LORVENNA/Lesson01-01Note0001.TXT", "Only note\n");
    const std::string pdf = work.path() + "/one.pdf";
    for (const std::string& printer : {pdf, std::string()}) {
        setenv("LORVENNA_PRINT_PDF", printer.c_str(), 1);
        ModalSteps user;
        user.then<NotesReaderDialog>("printed", listShown, [&](NotesReaderDialog& d) {
            findControl<QPushButton>(d, NotesReaderDialog::kPrintAllId)->click();
            EXPECT_EQ(status(d), printer.empty() ? "Printer not available or not turned on!"
                                                 : "Printing all notes.");
            findControl<QPushButton>(d, NotesReaderDialog::kQuitId)->click();
        });
        EXPECT_EQ(user.run(runNotesReader), StateCode::StartDialog);
    }
    unsetenv("LORVENNA_PRINT_PDF");
    const std::vector<std::string> pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find("Only note"), std::string::npos);
}

// Without exactly one disk, or without notes on it, the reader shows its box and ends.
TEST_F(NotesTest, ReaderWithoutNotesOrDiskShowsItsBox) {
    struct Case {
        const char* drives; // E: a disk without notes, F: one with a note, X: no medium
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {"", "No disk drive on this computer!", "Restart on a different machine."},
        {"X", "No removable disk available.", "Insert your disk or drive and try again."},
        {"EF", "Two or more disks are inserted.", "Remove all but the Lorvenna disk and restart."},
        {"E", "No notes on this disk.", "Try another disk."},
    };
    work.write("drive-E/LORVENNA/KEY.GRD", "");
    work.write("drive-F/LORVENNA/Lesson01-01Note0001.TXT", "A note\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drives);
        work.listDrives(c.drives);
        ScriptedBoxes shown;
        ModalSteps nobody; // the reader ends by itself
        EXPECT_EQ(nobody.run(runNotesReader), StateCode::StartDialog);
        ASSERT_EQ(shown.shown().size(), 1u);
        EXPECT_EQ(shown.shown()[0].caption, c.caption);
        EXPECT_EQ(shown.shown()[0].text, c.text);
    }
}

// A note keeps the first 2039 characters of the box, counting a line end as the two it
// is saved as and never keeping half of one. A pasted text fills the box and is saved
// at once.
TEST_F(NotesTest, NoteKeepsItsFirst2039Characters) {
    struct Case {
        std::string pasted;
        std::string kept;
    };
    const std::string x2037(2037, 'x');
    const Case cases[] = {
        {x2037 + "xx", x2037 + "xx"},
        {x2037 + "xxx", x2037 + "xx"},
        {x2037 + "\nyy", x2037 + "\r\n"},
        {x2037 + "x\nyy", x2037 + "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pasted.substr(2036));
        std::filesystem::remove(work.path() + "/Lesson03-12Note0001.TXT");
        ModalSteps user;
        user.then<NoteDialog>("text pasted", [&](NoteDialog& d) {
            box(d)->insertPlainText(QString::fromStdString(c.pasted));
        });
        EXPECT_EQ(user.run(runNoteDialog), NoteSaved::FullBox);
        EXPECT_EQ(work.read("Lesson03-12Note0001.TXT"), heading(1) + c.kept);
    }
}

// Whatever step of the save fails (the stick pulled, the disk full), the old note stays, the
// new one is on the disk whole or not at all, and the student either learns where it went or
// keeps the text with the box that says it was not saved.
TEST_F(NotesTest, NoteIsWholeOrAbsentWhateverStepFails) {
    graded();
    const std::string disk = work.path() + "/drive-E";
    const std::string oldNote = heading(1) + "old";
    for (const bool blankDisk : {true, false}) {
        const int number = blankDisk ? 1 : 2;
        const std::string newName = "Lesson03-12Note000" + std::to_string(number) + ".TXT";
        std::optional<ScriptedBoxes> runBoxes;
        NoteSaved result = NoteSaved::Cancelled;
        bool keptOpen = false;
        QString kept;
        auto prepare = [&] {
            std::filesystem::remove_all(disk + "/LORVENNA");
            if (!blankDisk)
                work.write("drive-E/LORVENNA/Lesson03-12Note0001.TXT", oldNote, false);
            runBoxes.reset();
            runBoxes.emplace();
        };
        auto save = [&] {
            ModalSteps user;
            user.then<NoteDialog>("note typed", [&](NoteDialog& d) {
                typeText(box(d), "new");
                pressKey(box(d), Qt::Key_Return);
                keptOpen = d.isVisible();
                kept = box(d)->toPlainText();
                if (keptOpen)
                    findControl<QPushButton>(d, NoteDialog::kCancelId)->click();
            });
            result = user.run(runNoteDialog);
        };
        auto check = [&](const FileFault& fault) {
            SCOPED_TRACE(describe(fault) + (blankDisk ? " on a blank disk" : ""));
            if (!blankDisk) {
                EXPECT_EQ(work.read("drive-E/LORVENNA/Lesson03-12Note0001.TXT"), oldNote);
            }
            EXPECT_TRUE(hiddenFilesIn(disk).empty());
            EXPECT_TRUE(hiddenFilesIn(disk + "/LORVENNA").empty());
            ASSERT_EQ(runBoxes->shown().size(), 1u);
            const BoxRecord& shown = runBoxes->shown()[0];
            if (work.exists("drive-E/LORVENNA/" + newName)) {
                EXPECT_EQ(work.read("drive-E/LORVENNA/" + newName), heading(number) + "new");
                EXPECT_EQ(result, NoteSaved::KeyDisk);
                EXPECT_EQ(shown.caption, "Your note was saved to the grading disk as");
                EXPECT_EQ(shown.text, "E:\\LORVENNA\\" + newName);
                return;
            }
            EXPECT_EQ(result, NoteSaved::Cancelled);
            EXPECT_TRUE(keptOpen);
            EXPECT_EQ(kept, "new");
            EXPECT_EQ(shown.caption, "Your note could not be saved.");
        };
        const auto faults = failEachFileStep(prepare, save, check, ENOSPC);
        for (FileStep step : {FileStep::Open, FileStep::Write, FileStep::Flush, FileStep::Sync,
                              FileStep::Rename, FileStep::Close})
            EXPECT_GE(faultsAt(faults, step), 1) << describe({step, 1, ENOSPC});
    }
}

} // namespace lorvenna

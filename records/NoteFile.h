// Note files: their names and numbers, their heading and date lines, saving a note, and
// printing the notes of a key disk.
#pragma once

#include "platform/Clock.h"
#include "records/Student.h"

#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

inline constexpr long kLastNoteNumber = 9999;
// The most of a note's text that is kept.
inline constexpr std::size_t kNoteTextLength = 2039;

// How a note was saved; the note dialog's results.
enum class NoteSaved : int {
    Cancelled = 0,
    WorkingFolder = 1,
    KeyDisk = 2,
    FullBox = 3, // saved because the box was full, wherever it went
};

// Where notes go: "E:\LORVENNA\" in a graded session with a key drive, so that the notes
// reader finds them; otherwise the working folder ("").
std::string notePrefix(const Student& student);
// "%sLesson%sNote%4.4ld.TXT"
std::string noteFileName(std::string_view prefix, std::string_view lessonName, long number);
// The heading line and the date line.
std::string noteHeading(std::string_view lessonName, long number, long page, const LocalTime& time);
// The text as saved: line ends as CR LF, at most 2039 bytes, never half a character.
std::string noteText(std::string_view typed);

struct NoteSave {
    enum class Outcome { Saved, AllNumbersTaken, NotWritten };
    Outcome outcome = Outcome::NotWritten;
    NoteSaved where = NoteSaved::Cancelled;
    std::string name; // as formed, for the confirmation
};

// Saves the note of the page shown under the first free number; an existing file is never
// replaced, and the file is written whole or not at all.
NoteSave saveNote(const Student& student, std::string_view typed, bool boxFull);

// "%c:\LORVENNA\*.TXT" on the key drive, sorted; the notes reader's list.
std::vector<std::string> listNotes(char drive);
// "%c:\LORVENNA\%s"
std::string noteOnDisk(char drive, std::string_view fileName);

// Prints every note of the list on a page of its own; false when the list is empty or no
// printer could be opened.
bool printNotes(char drive, const std::vector<std::string>& names);

} // namespace lorvenna

// Note files on the key disk or in the working folder.
#include "records/NoteFile.h"

#include "items/RunObjects.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/Printer.h"
#include "platform/TextCodec.h"
#include "records/Help.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace lorvenna {

namespace {

// The heading stands this far below the printable area's top.
constexpr int kTextBelowTop = 10;

bool hasDriveLetter(char drive) {
    return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
}

} // namespace

std::string notePrefix(const Student& student) {
    if (!student.graded || !hasDriveLetter(student.keyDrive))
        return {};
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%c:\\LORVENNA\\", student.keyDrive);
    return prefix;
}

std::string noteFileName(std::string_view prefix, std::string_view lessonName, long number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%4.4ld", number);
    std::string name(prefix);
    name += "Lesson";
    name += lessonName;
    name += "Note";
    name += digits;
    name += ".TXT";
    return name;
}

std::string noteHeading(std::string_view lessonName, long number, long page,
                        const LocalTime& time) {
    const std::string lesson(lessonName);
    char heading[160];
    std::snprintf(heading, sizeof heading,
                  "\r\nNOTE\r\nLesson %s, note %ld at page %ld:\r\nDate %d/%d/%d Time "
                  "%2.2d:%2.2d\r\n",
                  lesson.c_str(), number, page, time.month, time.day, time.year, time.hour,
                  time.minute);
    return heading;
}

std::string noteText(std::string_view typed) {
    std::string text;
    for (std::size_t i = 0; i < typed.size() && text.size() <= kNoteTextLength; ++i) {
        const char c = typed[i];
        if (c == '\r' && i + 1 < typed.size() && typed[i + 1] == '\n')
            continue; // the CR of a CR LF: the LF below writes both
        if (c == '\n')
            text += "\r\n";
        else
            text += c;
    }
    // A UTF-8 note keeps no half character.
    if (text.size() > kNoteTextLength)
        text.resize(isValidUtf8(text) ? utf8CutLength(text, kNoteTextLength) : kNoteTextLength);
    // A line end cut in half would leave a lone CR.
    if (!text.empty() && text.back() == '\r' && text.size() == kNoteTextLength)
        text.pop_back();
    return text;
}

NoteSave saveNote(const Student& student, std::string_view typed, bool boxFull) {
    NoteSave save;
    const std::string prefix = notePrefix(student);
    const Lesson& played = lesson();
    const std::string_view lessonName = fieldView(played.lessonName);
    // A note is saved in the 8-bit code page, as notes always were, unless it holds a
    // character that the code page has no place for: then it is saved as UTF-8.
    std::string western;
    const std::string text =
        noteText(utf8ToWestern(typed, western) ? std::string_view(western) : typed);
    [[maybe_unused]] CriticalErrorGuard guard;
    if (!prefix.empty() && !fileExists(prefix.substr(0, prefix.size() - 1)))
        createFolder(prefix.substr(0, prefix.size() - 1));
    for (long number = 1; number <= kLastNoteNumber; ++number) {
        const std::string name = noteFileName(prefix, lessonName, number);
        if (fileExists(name))
            continue;
        const std::string bytes =
            noteHeading(lessonName, number, played.currentPage(), localTime()) + text;
        if (!writeNewFile(name, bytes.data(), bytes.size())) {
            // Taken between the test and the write: try the next number.
            if (lastFileError() == FileError::AlreadyExists)
                continue;
            save.name = name;
            return save;
        }
        save.outcome = NoteSave::Outcome::Saved;
        save.name = name;
        save.where = boxFull ? NoteSaved::FullBox
                             : (prefix.empty() ? NoteSaved::WorkingFolder : NoteSaved::KeyDisk);
        return save;
    }
    save.outcome = NoteSave::Outcome::AllNumbersTaken;
    return save;
}

std::vector<std::string> listNotes(char drive) {
    if (!hasDriveLetter(drive))
        return {};
    char pattern[32];
    std::snprintf(pattern, sizeof pattern, "%c:\\LORVENNA\\*.TXT", drive);
    [[maybe_unused]] CriticalErrorGuard guard;
    return findFiles(pattern);
}

std::string noteOnDisk(char drive, std::string_view fileName) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%c:\\LORVENNA\\", drive);
    return prefix + std::string(fileName);
}

bool printNotes(char drive, const std::vector<std::string>& names) {
    if (names.empty())
        return false;
    Printer printer;
    if (!printer.open())
        return false;
    const int top = printer.offsetTop() + kTextBelowTop;
    const int left = printer.offsetLeft();
    bool first = true;
    for (const std::string& name : names) {
        [[maybe_unused]] CriticalErrorGuard guard;
        const std::optional<std::string> text = readShownText(noteOnDisk(drive, name));
        if (!text)
            continue;
        // A page of its own for every note that opens; none is left blank between them.
        if (!first)
            printer.newPage();
        first = false;
        printer.drawText(left, top, *text);
    }
    return printer.close();
}

} // namespace lorvenna

// The lessons of LSNS as lesson selection lists them, and the taking of a chosen one.
#include "lesson/LessonList.h"

#include "items/RunObjects.h"
#include "lesson/Bookmark.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/LineMatcher.h"
#include "platform/LineReader.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace lorvenna {

namespace {

constexpr int kTitleLimit = 72;
constexpr char kBookmarkedMark[] = " [BOOKMARKED]";

// "%ld-%ld" at the start of m's line: the two numbers of a lesson.
bool readNumbers(LineMatcher m, long& major, long& minor) {
    long first = 0;
    long second = 0;
    if (!m.whole(first) || !m.exactly('-') || !m.whole(second))
        return false;
    major = first;
    minor = second;
    return true;
}

// A title line "Lesson 01-02 ...": the matcher stands after the word Lesson, or fails to.
LineMatcher afterLesson(const char* title) {
    LineMatcher m(title);
    return m.keyword("Lesson") ? m : LineMatcher("");
}

std::string cutAtFirstDot(const std::string& fileName) {
    return fileName.substr(0, fileName.find('.'));
}

} // namespace

void LessonList::build(Lesson& lesson, char bookmarkDrive) {
    entries_.clear();
    bookmarkFound_ = false;

    for (const std::string& fileName : findFiles("LSNS\\*.LSN")) {
        const std::string name = cutAtFirstDot(fileName);
        setText(lesson.lessonName, name);
        formatText(lesson.lessonPath, "LSNS\\%s.LSN", name.c_str());

        // A file that cannot be opened or read, or holds nothing, is left out of the list.
        FileHandle file = openForReading("LSNS\\" + fileName);
        char title[kTitleLimit + 1] = {};
        const int length = readLine(file, title, kTitleLimit);
        closeFile(file);
        if (length < 0)
            continue;

        // Each lesson's title in its own file's encoding.
        std::string text = title;
        if (fileIsUtf8("LSNS\\" + fileName))
            text.resize(utf8CutLength(text, text.size())); // the limit keeps no half character
        else
            text = westernToUtf8(text);
        LessonListEntry entry{std::move(text), fileName};
        long major = 0;
        long minor = 0;
        if (bookmarkDrive != 0 && readNumbers(LineMatcher(name.c_str()), major, minor) &&
            bookmarkExists(bookmarkDrive, major, minor)) {
            entry.text += kBookmarkedMark;
            bookmarkFound_ = true;
        }
        insertSorted(std::move(entry));
    }
}

void LessonList::insertSorted(LessonListEntry entry) {
    // After the entries that sort equal, so equal lines keep the folder's order.
    const auto place = std::upper_bound(entries_.begin(), entries_.end(), entry,
                                        [](const LessonListEntry& a, const LessonListEntry& b) {
                                            return lessFolded(a.text, b.text);
                                        });
    entries_.insert(place, std::move(entry));
}

TakeResult LessonList::take(int index, Lesson& lesson) const {
    if (index < 0 || index >= static_cast<int>(entries_.size()))
        return TakeResult::NoSelection;

    const LessonListEntry& entry = entries_[static_cast<std::size_t>(index)];
    long major = 0;
    long minor = 0;
    // The title line names the lesson; a file whose title lacks the numbers is still opened
    // by the numbers of its own name rather than by whatever was chosen before.
    if (!readNumbers(afterLesson(entry.text.c_str()), major, minor) &&
        !readNumbers(LineMatcher(cutAtFirstDot(entry.fileName).c_str()), major, minor)) {
        char text[256];
        formatText(text,
                   "The first line of LSNS\\%s does not begin with \"Lesson\" and the lesson's "
                   "two numbers (as in \"Lesson 01-02\"), and the file name holds no numbers "
                   "either.",
                   entry.fileName.c_str());
        messageBox("Lesson number not found.", text);
        return TakeResult::Refused;
    }

    lesson.lessonMajor = static_cast<std::int32_t>(major);
    lesson.lessonMinor = static_cast<std::int32_t>(minor);
    formatText(lesson.lessonName, "%.2ld-%.2ld", static_cast<long>(lesson.lessonMajor),
               static_cast<long>(lesson.lessonMinor));
    formatText(lesson.lessonPath, "LSNS\\%.2ld-%.2ld.LSN", static_cast<long>(lesson.lessonMajor),
               static_cast<long>(lesson.lessonMinor));
    lesson.pageCount = 0;
    lesson.turnTo(0);
    return TakeResult::Taken;
}

int LessonList::initialSelection() const {
    if (entries_.empty())
        return -1;
    return std::clamp(lesson().lessonSelectionRow, 0, static_cast<int>(entries_.size()) - 1);
}

int LessonList::rememberedSelection() {
    return lesson().lessonSelectionRow;
}

void LessonList::setRememberedSelection(int index) {
    lesson().lessonSelectionRow = index;
}

} // namespace lorvenna

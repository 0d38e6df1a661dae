// Bookmarks on the key disk: where a graded lesson was left, and its counts per page.
#include "lesson/Bookmark.h"

#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "platform/Drives.h"
#include "platform/FixedText.h"
#include "platform/LineMatcher.h"
#include "platform/LineReader.h"

#include <cstdio>
#include <limits>

namespace lorvenna {

namespace {

// Bookmark lines are short (" L 312", "P -4 2 1"), but counts of several digits make a P line
// longer than 14 characters; a generous limit keeps such a line in one piece.
constexpr int kBookmarkLineLimit = 255;

// The lesson line is a bookmark's first line; a few stray bytes before it are passed over,
// a file that holds none in its first kilobyte is no bookmark of any lesson. So a huge file
// on a stick is never read through: past this only one P line per page is read.
constexpr long kLessonLineWithin = 1024;

// Drive letters are the 26 ASCII letters, whatever the desktop's language says a letter is.
bool isDriveLetter(char drive) {
    return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
}

// Formats one line of the file; every line fits, since its numbers are at most 32 bits each.
template <typename... Values>
void appendLine(std::string& out, const char* format, Values... values) {
    char line[64];
    const int length = std::snprintf(line, sizeof line, format, values...);
    if (length > 0 && static_cast<std::size_t>(length) < sizeof line)
        out.append(line, static_cast<std::size_t>(length));
}

} // namespace

std::string bookmarkPath(char drive, long major, long minor) {
    char path[64];
    std::snprintf(path, sizeof path, "%c:\\LORVENNA\\L%2.2ld-%2.2ld.BMK", drive, major, minor);
    return path;
}

bool writeBookmark(char drive, long major, long minor) {
    if (!lesson().pages || !isDriveLetter(drive))
        return false;

    std::string content;
    appendLine(content, " L %ld\r\n", major * 100 + minor);
    for (const PageEntry* entry = lesson().pages; entry; entry = entry->next) {
        const long page = entry->isCurrent ? -static_cast<long>(entry->pageNumber)
                                           : static_cast<long>(entry->pageNumber);
        appendLine(content, "P %ld %ld %ld\r\n", page, static_cast<long>(entry->completedCount),
                   static_cast<long>(entry->rightCount));
    }

    [[maybe_unused]] CriticalErrorGuard guard;
    return writeWholeFile(bookmarkPath(drive, major, minor), content.data(), content.size());
}

BookmarkApplied applyBookmark(char drive, long major, long minor) {
    Lesson& played = lesson();
    using Kind = BookmarkApplied::Kind;
    const long code = major * 100 + minor;
    if (!bookmarkExists(drive, major, minor))
        return {Kind::None, 0, {}};

    [[maybe_unused]] CriticalErrorGuard guard;
    const std::string path = bookmarkPath(drive, major, minor);
    FileHandle file = openForReading(path);
    if (isInvalid(file))
        return {Kind::None, 0, {}};

    char line[kBookmarkLineLimit + 1];
    bool matched = false;
    while (!matched && filePosition(file) < kLessonLineWithin &&
           readLine(file, line, kBookmarkLineLimit) > 0) {
        long value = 0;
        LineMatcher m(line);
        matched = m.keyword("L") && m.whole(value) && value == code;
    }
    if (!matched) {
        closeFile(file);
        return {Kind::OtherLesson, 0, {}};
    }

    played.lessonMajor = static_cast<std::int32_t>(major);
    played.lessonMinor = static_cast<std::int32_t>(minor);
    formatText(played.lessonPath, "LSNS\\%2.2ld-%2.2ld.LSN", major, minor);
    if (Status index = readLessonIndex(); !index) {
        closeFile(file);
        return {Kind::IndexFailed, 0, std::move(index)};
    }

    // The n-th P line belongs to the n-th page entry, whatever page number it carries; only
    // a negative number matters, as the page to resume.
    int resume = 0;
    for (PageEntry* entry = played.pages; entry; entry = entry->next) {
        if (readLine(file, line, kBookmarkLineLimit) <= 0)
            break;
        long page = 0;
        long completed = 0;
        long right = 0;
        LineMatcher m(line);
        if (!m.keyword("P") || !m.whole(page) || !m.whole(completed) || !m.whole(right))
            continue;
        entry->completedCount = static_cast<std::int32_t>(completed);
        entry->rightCount = static_cast<std::int32_t>(right);
        if (page < 0 && page >= -std::numeric_limits<std::int32_t>::max())
            resume = static_cast<int>(-page);
    }

    closeFile(file);
    deleteFile(path);
    return {Kind::Applied, resume, {}};
}

bool bookmarkExists(char drive, long major, long minor) {
    if (!isDriveLetter(drive))
        return false;
    [[maybe_unused]] CriticalErrorGuard guard;
    return fileExists(bookmarkPath(drive, major, minor));
}

} // namespace lorvenna

// Scoring: the score box at the end of a lesson and, in a graded session, the grade file
// and the bookmark on the key disk.
#include "records/Scoring.h"

#include "lesson/Bookmark.h"
#include "platform/Clock.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "records/GradeRecord.h"
#include "records/KeyDisk.h"
#include "shell/AppServices.h"
#include "shell/Drawing.h"
#include "shell/SessionState.h"

#include <cstdio>
#include <cstring>

namespace lorvenna {

namespace {

constexpr long kLastSequence = 999;

// The first free sequence number, or 0 when all are taken.
long freeSequence(char drive, long major, long minor) {
    for (long sequence = 1; sequence <= kLastSequence; ++sequence) {
        if (!fileExists(gradeFileName(drive, major, minor, sequence)))
            return sequence;
    }
    return 0;
}

// The key disk must still be there with the key of the student who logged in.
bool keyDiskConfirmed() {
    return detectKeyDrive() == KeyDiskCode::OneMedium && readKeyFile() == KeyDiskCode::KeyRead &&
           checkPassword() == KeyDiskCode::PasswordRight;
}

} // namespace

std::string scoreText(long right, long answered, long total) {
    const double percent = static_cast<double>(right) / static_cast<double>(total) * 100.0;
    char text[128];
    if (answered == total)
        std::snprintf(text, sizeof text, "%.1lf%% right first time!", percent);
    else
        std::snprintf(text, sizeof text, "%.1lf%% (Incomplete, %ld out of %ld answered)", percent,
                      answered, total);
    return text;
}

int scoreLesson() {
    SessionState& s = session();
    if (s.currentPage <= 1 || s.questionTotal == 0)
        return 1;

    long right = 0;
    long answered = 0;
    for (const PageEntry* entry = s.pages; entry; entry = entry->next) {
        right += entry->rightCount;
        answered += entry->completedCount;
    }
    messageBox("Your score:", scoreText(right, answered, s.questionTotal), BoxButtons::Ok);

    if (!s.graded)
        return 1;
    if (s.mainWindow)
        s.mainWindow->drawStatusText("Writing grades to disk");
    // A disk that fails from here on does so silently: the student has seen the score.
    if (!keyDiskConfirmed())
        return 0;

    [[maybe_unused]] CriticalErrorGuard guard;
    const long sequence = freeSequence(s.keyDrive, s.lessonMajor, s.lessonMinor);
    bool written = false;
    if (sequence == 0) {
        // Every grade file of the lesson stays as it is, and the student learns why this
        // one is missing.
        messageBox("No room for another grade of this lesson.",
                   "The key disk already holds 999 grades of this lesson; this score was not "
                   "saved.");
    } else {
        const std::string_view id(s.studentId, strnlen(s.studentId, sizeof s.studentId));
        const GradeRecord record = GradeRecord::make(localTime(), s.lessonMajor, s.lessonMinor,
                                                     answered, right, s.questionTotal, id);
        const GradeRecord::Bytes bytes = record.toDisk();
        written = writeWholeFile(gradeFileName(s.keyDrive, s.lessonMajor, s.lessonMinor, sequence),
                                 bytes.data(), bytes.size());
    }
    // The place in the lesson is kept even when the grade could not be.
    if (s.currentPage < s.pageCount)
        writeBookmark(s.keyDrive, s.lessonMajor, s.lessonMinor);
    markAllAndRepaint();
    return written ? 1 : 0;
}

} // namespace lorvenna

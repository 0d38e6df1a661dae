// Scoring: the score box at the end of a lesson and, in a graded session, the grade file
// and the bookmark on the key disk.
#include "records/Scoring.h"

#include "items/AppServices.h"
#include "items/Drawing.h"
#include "items/RunObjects.h"
#include "lesson/Bookmark.h"
#include "platform/Clock.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "records/GradeRecord.h"
#include "records/KeyDisk.h"

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
bool keyDiskConfirmed(Student& student) {
    return detectKeyDrive(student) == KeyDiskCode::OneMedium &&
           readKeyFile(student) == KeyDiskCode::KeyRead &&
           checkPassword(student) == KeyDiskCode::PasswordRight;
}

// What became of a grade: written, refused by the disk, no room for another (the student
// has been told), or not tried because the key disk is gone or is not the one logged in.
enum class GradeWrite { Written, Failed, NoRoom, NoKeyDisk };

// The grade file of this attempt under the first free sequence number.
GradeWrite writeGrade(Student& student, long answered, long right) {
    const Lesson& played = lesson();
    if (!keyDiskConfirmed(student))
        return GradeWrite::NoKeyDisk;
    [[maybe_unused]] CriticalErrorGuard guard;
    const long sequence = freeSequence(student.keyDrive, played.lessonMajor, played.lessonMinor);
    if (sequence == 0) {
        // Every grade file of the lesson stays as it is, and the student learns why this
        // one is missing.
        messageBox("No room for another grade of this lesson.",
                   "The key disk already holds 999 grades of this lesson; this score was not "
                   "saved.");
        return GradeWrite::NoRoom;
    }
    const std::string_view id = fieldView(student.studentId);
    const GradeRecord record =
        GradeRecord::make(localTime(), played.lessonMajor, played.lessonMinor, answered, right,
                          played.questionTotal, id);
    const GradeRecord::Bytes bytes = record.toDisk();
    return writeWholeFile(
               gradeFileName(student.keyDrive, played.lessonMajor, played.lessonMinor, sequence),
               bytes.data(), bytes.size())
               ? GradeWrite::Written
               : GradeWrite::Failed;
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

ScoreOutcome scoreLesson(Student& student) {
    const Lesson& played = lesson();
    if (played.currentPage() <= 1 || played.questionTotal == 0)
        return ScoreOutcome::NotScored;

    long right = 0;
    long answered = 0;
    for (const PageEntry* entry = played.pages; entry; entry = entry->next) {
        right += entry->rightCount;
        answered += entry->completedCount;
    }
    messageBox("Your score:", scoreText(right, answered, played.questionTotal), BoxButtons::Ok);

    if (!student.graded)
        return ScoreOutcome::Shown;
    appServices().drawStatusText("Writing grades to disk");
    // A stick pulled early, a full or write-protected disk: the student is told and may put
    // it right and try again, so a grade is only lost when the student gives it up.
    GradeWrite outcome = writeGrade(student, answered, right);
    while ((outcome == GradeWrite::Failed || outcome == GradeWrite::NoKeyDisk) &&
           messageBox(kGradeNotSavedCaption, kGradeNotSavedText, BoxButtons::RetryCancel) ==
               BoxAnswer::Retry)
        outcome = writeGrade(student, answered, right);
    if (outcome == GradeWrite::NoKeyDisk)
        return ScoreOutcome::GradeNotSaved;
    const bool written = outcome == GradeWrite::Written;
    // The place in the lesson is kept even when the grade could not be.
    if (played.currentPage() < played.pageCount)
        writeBookmark(student.keyDrive, played.lessonMajor, played.lessonMinor);
    markAllAndRepaint();
    return written ? ScoreOutcome::GradeSaved : ScoreOutcome::GradeNotSaved;
}

} // namespace lorvenna

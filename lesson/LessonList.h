// The lessons of LSNS as lesson selection lists them, and the taking of a chosen one.
#pragma once

#include <string>
#include <vector>

namespace lorvenna {

class Lesson;

struct LessonListEntry {
    std::string text;     // the title line (at most 72 characters), then " [BOOKMARKED]"
    std::string fileName; // the lesson file it came from, as the folder lists it
};

enum class TakeResult { Taken, NoSelection, Refused };

// The plain logic behind the "Selecting lesson." dialog: it lists every "LSNS\*.LSN" by its
// first line, sorted without regard to case, marks the lessons with a bookmark on the key
// disk in a graded session, and turns a chosen entry into the lesson to play. It shows
// nothing but the message box that refuses an entry naming no lesson.
class LessonList {
public:
    // Lists the lessons; sets the lesson's lessonName and lessonPath from each file as it goes.
    // bookmarkDrive: the key disk whose bookmarks mark their lessons, or 0 (no graded session).
    void build(Lesson& lesson, char bookmarkDrive);

    const std::vector<LessonListEntry>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }
    bool bookmarkFound() const { return bookmarkFound_; }

    // Makes entry index (-1: none selected) the lesson to play: its numbers come from the
    // title line's " Lesson %ld-%ld", or else from the file name. An entry with neither is
    // refused with a message box; no selection changes nothing.
    TakeResult take(int index, Lesson& lesson) const;

    // The entry to select when the dialog opens: the remembered one, kept within the list.
    int initialSelection() const;

    // The entry selected when the dialog last handled a command; kept for the whole run.
    static int rememberedSelection();
    static void setRememberedSelection(int index);

private:
    void insertSorted(LessonListEntry entry);

    std::vector<LessonListEntry> entries_;
    bool bookmarkFound_ = false;
};

} // namespace lorvenna

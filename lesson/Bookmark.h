// Bookmarks on the key disk: where a graded lesson was left, and its counts per page.
#pragma once

#include "platform/Diagnostic.h"

#include <string>

namespace lorvenna {

// "%c:\LORVENNA\L%2.2ld-%2.2ld.BMK"
std::string bookmarkPath(char drive, long major, long minor);

// Writes the bookmark of the lesson in the page list: " L code" and one P line per page entry
// (the page shown negated), in one piece. False when there is no page list or the disk
// refused the file.
bool writeBookmark(char drive, long major, long minor);
// What applying a bookmark came to.
struct BookmarkApplied {
    enum class Kind {
        None,        // no bookmark of the lesson on the disk, or none that opens
        OtherLesson, // the file's lesson line names no other lesson than this: the file stays
        IndexFailed, // the lesson could not be read (index says why); the file stays
        Applied,     // the counts are back and the file is gone; page is the page to resume
    };
    Kind kind = Kind::None;
    int page = 0; // Applied: the page left, 0 when the file names none
    Status index; // IndexFailed: why
};

// Reads the lesson index afresh and applies the lesson's bookmark on drive to it, then deletes
// the bookmark file.
BookmarkApplied applyBookmark(char drive, long major, long minor);
bool bookmarkExists(char drive, long major, long minor);

} // namespace lorvenna

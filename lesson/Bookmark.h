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
// Reads the lesson index afresh and applies the bookmark on keyDrive to it, then deletes the
// bookmark file. -1 no bookmark file, 0 no matching lesson code (the file stays), -2 the
// lesson index could not be read (indexRead says why; the file stays), else the page to
// resume (0 if none).
int applyBookmark(long major, long minor, Status& indexRead);
int applyBookmark(long major, long minor);
bool bookmarkExists(char drive, long major, long minor);

} // namespace lorvenna

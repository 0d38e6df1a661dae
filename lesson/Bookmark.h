// Bookmarks on the key disk: where a graded lesson was left, and its counts per page.
#pragma once

// "%c:\LORVENNA\L%2.2ld-%2.2ld.BMK"
bool WriteBookmark(char drive, long major, long minor);
// -1 no bookmark file, 0 no matching lesson code, else the page to resume (0 if none).
int ApplyBookmark(long major, long minor);
bool BookmarkExists(char drive, long major, long minor);

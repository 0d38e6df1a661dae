// The lesson index: the page list read from a lesson file's page section.
#pragma once

namespace lorvenna {

// Reads the index of the lesson at lessonPath into a fresh page list (pages, pageCount,
// questionTotal, testLesson, lessonTitle). False with the reason in errorText.
bool readLessonIndex();
// Frees every page entry with its display names; pages and currentEntry become none.
void freePages();

} // namespace lorvenna

// The lesson index: the page list read from a lesson file's page section.
#pragma once

#include "items/PageEntry.h"
#include "platform/Diagnostic.h"

namespace lorvenna {

// Reads the index of the lesson at lessonPath into a fresh page list (pages, pageCount,
// questionTotal, testLesson, lessonTitle). A failure names the line it stopped on.
Status readLessonIndex();
// Marks the entries of page n as the page shown (isCurrent), and only them; returns the last
// of them, or nullptr when the lesson has no page n.
PageEntry* markCurrentPage(int n);
// Frees every page entry with its display names; pages and currentEntry become none.
void freePages();

} // namespace lorvenna

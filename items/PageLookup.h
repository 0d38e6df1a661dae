// The page list's entries by page number, so that turning a page does not walk a list as
// long as the lesson.
#pragma once

#include "items/PageEntry.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace lorvenna {

// Made for the list readLessonIndex reads; a list put together otherwise is walked.
struct PageLookup {
    const PageEntry* head = nullptr; // the list indexed; none when no list is
    // (page number, entry), by number, entries of one number in list order
    std::vector<std::pair<std::int32_t, PageEntry*>> byNumber;
    std::vector<PageEntry*> marked; // the entries marked as the page shown
};

} // namespace lorvenna

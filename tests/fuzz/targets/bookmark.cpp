// Fuzz target: a bookmark file applied to a lesson, then written back and applied again,
// which must give the same page and counts.
#include "tests/fuzz/FuzzWorld.h"

#include "items/RunObjects.h"
#include "lesson/Bookmark.h"
#include "lesson/LessonIndex.h"

#include <vector>

namespace lorvenna {

namespace {

constexpr char kLesson[] = "Lesson 01-02 Bookmarked\r\nTOTAL 4\r\n"
                           "PAGE 1\r\nDISPLAY A\r\nPAGE 2\r\nDISPLAY A\r\nPAGE 3\r\nDISPLAY A\r\n"
                           "PAGE 4\r\nDISPLAY A\r\nEND PAGES\r\nDISPLAY A 0 0 200 100 A\r\n"
                           "END DISPLAY\r\n";

struct Counts {
    int completed;
    int right;
    bool operator==(const Counts&) const = default;
};

std::vector<Counts> countsOfPages() {
    std::vector<Counts> counts;
    for (const PageEntry* entry = lesson().pages; entry; entry = entry->next)
        counts.push_back({entry->completedCount, entry->rightCount});
    return counts;
}

} // namespace

} // namespace lorvenna

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvenna;
    FuzzWorld& world = FuzzWorld::next();
    world.folder().write("LSNS/01-02.LSN", kLesson, false);
    world.folder().write("drive-E/LORVENNA/L01-02.BMK", bytesOf(data, size), false);

    const BookmarkApplied first = applyBookmark('E', 1, 2);
    const int resume = first.page;
    if (first.kind != BookmarkApplied::Kind::Applied || resume <= 0 || !lesson().pages) {
        freePages();
        return 0;
    }
    FUZZ_CHECK(!bookmarkExists('E', 1, 2)); // used once
    const std::vector<Counts> applied = countsOfPages();
    for (PageEntry* entry = lesson().pages; entry; entry = entry->next)
        entry->isCurrent = entry->pageNumber == resume;
    const bool onAPage = lesson().pageCount >= resume;
    FUZZ_CHECK(writeBookmark('E', 1, 2));
    freePages();

    const BookmarkApplied again = applyBookmark('E', 1, 2);
    FUZZ_CHECK(again.kind == BookmarkApplied::Kind::Applied);
    FUZZ_CHECK(again.page == (onAPage ? resume : 0));
    FUZZ_CHECK(countsOfPages() == applied);
    freePages();
    return 0;
}

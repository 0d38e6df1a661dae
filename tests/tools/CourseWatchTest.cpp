// lorvenna-check --watch: after the first listing, only the findings that came and went.
#include "tools/check/CourseWatch.h"

#include "shell/Session.h"
#include "tests/support/FakeApp.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

namespace lorvenna {
namespace {

using Lines = std::vector<std::string>;

TEST(CourseWatch, ListingChangesNameWhatWentAndWhatCame) {
    struct Case {
        CheckListing before;
        CheckListing after;
        Lines changes;
    };
    const Case cases[] = {
        {{{"a", "b"}, "2 errors"}, {{"a", "b"}, "2 errors"}, {}},
        {{{"a", "b"}, "2 errors"}, {{"b"}, "1 error"}, {"fixed: a", "1 error"}},
        {{{"a"}, "1 error"}, {{"a", "c"}, "2 errors"}, {"c", "2 errors"}},
        // The same line twice is two findings: one of them going is a change.
        {{{"a", "a"}, "2 errors"}, {{"a"}, "1 error"}, {"fixed: a", "1 error"}},
        // Only the counts changed (a lesson more, no new finding).
        {{{}, "1 lesson"}, {{}, "2 lessons"}, {"2 lessons"}},
        // --quiet has no summary.
        {{{"a"}, ""}, {{"b"}, ""}, {"fixed: a", "b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listingChanges(c.before, c.after), c.changes) << c.after.summary;
}

TEST(CourseWatch, RecheckPrintsEverythingFirstAndThenOnlyWhatChanged) {
    resetSession();
    FakeApp app;
    WorkFolder folder;
    folder.addPicture();
    for (const char* help : {"STARTUP", "CREDITS", "REPORT", "REGULAR1", "REGULAR2"})
        folder.write(std::string("HELP/") + help + ".TXT", "Help.\n");
    folder.write("LSNS/01-01.LSN", "Lesson 01-01 One\nPAGE 1\nDISPLAY Lost\nEND PAGES\n"
                                   "END LESSON\n");
    CourseWatch watch(folder.path(), false);
    const std::string missing = "LSNS/01-01.LSN:3: Page 1 specified nonexistent Display Lost";
    EXPECT_EQ(watch.recheck(), (Lines{missing, "1 lesson, 0 pages, 0 questions: 1 error, "
                                               "0 warnings"}));
    EXPECT_EQ(watch.recheck(), Lines{});

    folder.write("LSNS/01-01.LSN", "Lesson 01-01 One\nPAGE 1\nEND PAGES\nEND LESSON\n");
    EXPECT_EQ(watch.recheck(),
              (Lines{"fixed: " + missing, "1 lesson, 1 page, 0 questions: 0 errors, 0 warnings"}));
}

} // namespace
} // namespace lorvenna

// Bookmarks: the file's bytes, applying them by position, and the lines that must not stop it.
#include "lesson/Bookmark.h"

#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "platform/LineReader.h"
#include "shell/Session.h"
#include "tests/support/Succeeded.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace lorvenna {

namespace {

// A lesson of nine pages, each with a display of its own.
std::string ninePageLesson() {
    std::string text = "Lesson 01-02 Nine pages\nTOTAL 9\n";
    for (int p = 1; p <= 9; ++p)
        text += "PAGE " + std::to_string(p) + "\nDISPLAY D" + std::to_string(p) + "\n";
    text += "END PAGES\n";
    for (int p = 1; p <= 9; ++p)
        text += "DISPLAY D" + std::to_string(p) + " 10 40 780 200 A\nEND DISPLAY\n";
    return text + "END LESSON\n";
}

using Kind = BookmarkApplied::Kind;

// What applying the lesson's bookmark on drive E came to, as a kind and a page.
std::pair<Kind, int> applied(long major, long minor) {
    const BookmarkApplied result = applyBookmark('E', major, minor);
    return {result.kind, result.page};
}

class BookmarkTest : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        folder.write("LSNS/01-02.LSN", ninePageLesson());
        drive = folder.addDrive('E');
        std::filesystem::create_directories(drive + "/LORVENNA");
        session().student.graded = true;
        session().student.keyDrive = 'E';
    }
    void TearDown() override { freePages(); }

    void readNinePages() {
        std::strcpy(lesson().lessonPath, "LSNS\\01-02.LSN");
        ASSERT_TRUE(succeeded(readLessonIndex()));
    }

    void writeBookmarkFile(const std::string& text) const {
        folder.write("drive-E/LORVENNA/L01-02.BMK", text);
    }
    bool bookmarkThere() const { return folder.exists("drive-E/LORVENNA/L01-02.BMK"); }

    struct Counts {
        int completed;
        int right;
        bool operator==(const Counts&) const = default;
    };
    static std::vector<Counts> counts() {
        std::vector<Counts> out;
        for (const PageEntry* e = lesson().pages; e; e = e->next)
            out.push_back({e->completedCount, e->rightCount});
        return out;
    }

    WorkFolder folder;
    std::string drive;
};

} // namespace

TEST_F(BookmarkTest, LeftAtPage4Of9WritesNinePLinesAndResumesThere) {
    readNinePages();
    int n = 0;
    for (PageEntry* e = lesson().pages; e; e = e->next) {
        ++n;
        e->completedCount = n;
        e->rightCount = n / 2;
        e->isCurrent = n == 4;
    }
    ASSERT_TRUE(writeBookmark('E', 1, 2));
    EXPECT_EQ(folder.read("drive-E/LORVENNA/L01-02.BMK"),
              " L 102\r\nP 1 1 0\r\nP 2 2 1\r\nP 3 3 1\r\nP -4 4 2\r\nP 5 5 2\r\nP 6 6 3\r\n"
              "P 7 7 3\r\nP 8 8 4\r\nP 9 9 4\r\n");
    EXPECT_TRUE(bookmarkExists('E', 1, 2));
    EXPECT_FALSE(bookmarkExists('E', 1, 3));

    // A new run: the lesson's index is read afresh and the counts come back by position.
    freePages();
    resetSession();
    session().student.keyDrive = 'E';
    EXPECT_EQ(applied(1, 2), std::pair(Kind::Applied, 4));
    EXPECT_EQ(counts(),
              (std::vector<Counts>{
                  {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 3}, {7, 3}, {8, 4}, {9, 4}}));
    EXPECT_EQ(lesson().lessonMajor, 1);
    EXPECT_EQ(lesson().lessonMinor, 2);
    EXPECT_STREQ(lesson().lessonPath, "LSNS\\01-02.LSN");
    EXPECT_EQ(lesson().pageCount, 9);
    EXPECT_FALSE(bookmarkThere()) << "a bookmark is used once";
    EXPECT_EQ(applied(1, 2).first, Kind::None);
}

TEST_F(BookmarkTest, PLinesGoToPagesByPositionAndFewerLinesRestoreTheFirstPages) {
    // The page numbers in the P lines do not choose the entry; only a negative one counts.
    writeBookmarkFile(" L 102\nP 7 2 2\nP -2 1 0\nP 9 3 3\n");
    EXPECT_EQ(applied(1, 2), std::pair(Kind::Applied, 2));
    EXPECT_EQ(counts(),
              (std::vector<Counts>{
                  {2, 2}, {1, 0}, {3, 3}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}));

    writeBookmarkFile(" L 102\nP 1 1 1\n");
    EXPECT_EQ(applied(1, 2), std::pair(Kind::Applied, 0)) << "no page was negative";
    EXPECT_EQ(counts()[0], (Counts{1, 1}));
    EXPECT_FALSE(bookmarkThere());
}

TEST_F(BookmarkTest, ABookmarkOfAnotherLessonIsNotAppliedAndStays) {
    writeBookmarkFile(" L 103\nP -1 1 1\n");
    EXPECT_EQ(applied(1, 2).first, Kind::OtherLesson);
    EXPECT_TRUE(bookmarkThere());
    EXPECT_EQ(lesson().pages, nullptr) << "the index is read only for a matching bookmark";

    // The code is matched wherever its line stands.
    writeBookmarkFile("junk\n L 102\nP 1 4 4\nP -2 1 1\n");
    EXPECT_EQ(applied(1, 2), std::pair(Kind::Applied, 2));
    EXPECT_EQ(counts()[0], (Counts{4, 4}));
}

// A bookmark is a lesson line and a line a page: a 2 GB file is not read through (it froze the
// player) and holds no bookmark, wherever a lesson line may stand in it.
TEST_F(BookmarkTest, AHugeFileIsNotReadThrough) {
    const std::string path = drive + "/LORVENNA/L01-02.BMK";
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        // Where a reader taking 255 bytes at a time would meet the lesson line at its start.
        ASSERT_EQ(::fseeko(file, 255L * 7843137, SEEK_SET), 0);
        std::fputs(" L 102\r\nP -5 1 1\r\n", file);
        std::fclose(file);
    }
    EXPECT_EQ(applied(1, 2).first, Kind::OtherLesson);
    EXPECT_TRUE(bookmarkThere());
}

TEST_F(BookmarkTest, LongPLinesDoNotCutTheWalkShort) {
    // "P 1 10000 1000" is exactly 14 characters and the next line longer: read 14 at a time,
    // the first would be followed by an empty piece that ended the walk.
    writeBookmarkFile(" L 102\nP 1 10000 1000\nP -2 123456 7\nP 3 1 1\n");
    EXPECT_EQ(applied(1, 2), std::pair(Kind::Applied, 2));
    EXPECT_EQ(counts()[0], (Counts{10000, 1000}));
    EXPECT_EQ(counts()[1], (Counts{123456, 7}));
    EXPECT_EQ(counts()[2], (Counts{1, 1}));

    // And what the writer writes with large counts comes back the same.
    for (PageEntry* e = lesson().pages; e; e = e->next) {
        e->completedCount = 2000000000;
        e->rightCount = -7;
        e->isCurrent = e->pageNumber == 9;
    }
    ASSERT_TRUE(writeBookmark('E', 1, 2));
    freePages();
    EXPECT_EQ(applied(1, 2), std::pair(Kind::Applied, 9));
    EXPECT_EQ(counts(), std::vector<Counts>(9, Counts{2000000000, -7}));
}

TEST_F(BookmarkTest, WritingNeedsAPageListAndTheDisksFolder) {
    EXPECT_FALSE(writeBookmark('E', 1, 2));
    EXPECT_FALSE(bookmarkThere());

    readNinePages();
    std::filesystem::remove_all(drive + "/LORVENNA");
    EXPECT_FALSE(writeBookmark('E', 1, 2));
    EXPECT_FALSE(writeBookmark('F', 1, 2)) << "no such drive";
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/LORVENNA"));
}

TEST_F(BookmarkTest, ALessonThatCannotBeReadLeavesTheBookmarkInPlace) {
    std::filesystem::remove(folder.path() + "/LSNS/01-02.LSN");
    writeBookmarkFile(" L 102\nP -1 1 1\n");
    const BookmarkApplied result = applyBookmark('E', 1, 2);
    EXPECT_EQ(result.kind, Kind::IndexFailed);
    EXPECT_EQ(result.index.message(), "Lesson file LSNS\\01-02.LSN is nonexistent or bad.");
    EXPECT_TRUE(bookmarkThere());
}

} // namespace lorvenna

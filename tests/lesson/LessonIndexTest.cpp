// The lesson index: the page section's line forms, the display block search and its limits.
#include "lesson/LessonIndex.h"

#include "items/RunObjects.h"
#include "platform/IgnoreCase.h"
#include "platform/LineMatcher.h"
#include "platform/LineReader.h"
#include "shell/Session.h"
#include "tests/lesson/ScopedLocale.h"
#include "tests/support/Succeeded.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

class LessonIndexTest : public testing::Test {
protected:
    void SetUp() override { resetSession(); }
    void TearDown() override { freePages(); }

    // Writes the lesson (CR LF lines) as LSNS\01-01.LSN and reads its index.
    Status readIndex(const std::string& text) {
        lessonBytes = crlf(text);
        folder.write("LSNS/01-01.LSN", lessonBytes, false);
        std::strcpy(lorvenna::lesson().lessonPath, "LSNS\\01-01.LSN");
        return readLessonIndex();
    }

    long positionOf(const std::string& line) const {
        const std::size_t at = lessonBytes.find(line);
        EXPECT_NE(at, std::string::npos) << line;
        return static_cast<long>(at);
    }

    static std::vector<int> pageNumbers() {
        std::vector<int> numbers;
        for (const PageEntry* e = lorvenna::lesson().pages; e; e = e->next)
            numbers.push_back(e->pageNumber);
        return numbers;
    }

    WorkFolder folder;
    std::string lessonBytes;
};

const char* const kLesson = R"(Lesson 01-01 Forces and motion
TOTAL 4
PAGE 3
DISPLAY intro
PAGE 1
DISPLAY Intro
DISPLAY Question1
END PAGES
DISPLAY INTRO 10 40 780 200 A
ITEM TEXT Heading
}
END DISPLAY
DISPLAY Question1 10 250 780 300 N
END DISPLAY
END LESSON
)";

} // namespace

TEST_F(LessonIndexTest, BuildsPagesInFileOrderWithTheirBlockPositions) {
    ASSERT_TRUE(succeeded(readIndex(kLesson)));
    EXPECT_STREQ(lorvenna::lesson().lessonTitle, "Lesson 01-01 Forces and motion");
    EXPECT_EQ(lorvenna::lesson().questionTotal, 4);
    EXPECT_FALSE(lorvenna::lesson().testLesson);
    EXPECT_EQ(lorvenna::lesson().pageCount, 3);
    EXPECT_EQ(pageNumbers(), (std::vector<int>{3, 1}));

    const long intro = positionOf("DISPLAY INTRO 10");
    const long question = positionOf("DISPLAY Question1 10");
    const PageEntry* three = lorvenna::lesson().pages;
    const PageEntry* one = three->next;
    // "intro" finds the block whose header says INTRO: names compare without regard to case.
    EXPECT_EQ(three->displayName[1], "intro");
    EXPECT_EQ(three->displayOffset[1], intro);
    EXPECT_TRUE(three->displayName[2].empty());
    EXPECT_EQ(one->displayName[1], "Intro");
    EXPECT_EQ(one->displayOffset[1], intro) << "one block named by two pages";
    EXPECT_EQ(one->displayName[2], "Question1");
    EXPECT_EQ(one->displayOffset[2], question);
    EXPECT_EQ(one->displayOffset[0], 0);
    EXPECT_EQ(pageOnScreen().currentEntry, nullptr) << "reading shows no page";
}

TEST_F(LessonIndexTest, TotalAndTestLinesTheLaterOneSetsTheTotal) {
    struct Case {
        const char* lines;
        int total;
        bool test;
    };
    const Case cases[] = {
        {"TEST 7\nTOTAL 5\n", 5, true},
        {"TOTAL 5\nTEST 7\n", 7, true},
        {"  TOTAL 9\n", 9, false},
        {"TOTALS\nTOTAL x\n", 0, false},
        {"", 0, false},
    };
    for (const Case& c : cases) {
        freePages();
        resetSession();
        ASSERT_TRUE(readIndex(std::string("Lesson 01-01 T\n") + c.lines + "END PAGES\n"));
        EXPECT_EQ(lorvenna::lesson().questionTotal, c.total) << c.lines;
        EXPECT_EQ(lorvenna::lesson().testLesson, c.test) << c.lines;
        EXPECT_EQ(lorvenna::lesson().pages, nullptr);
        EXPECT_EQ(lorvenna::lesson().pageCount, 0);
    }
}

TEST_F(LessonIndexTest, ReadingAgainStartsFromAFreshList) {
    ASSERT_TRUE(readIndex(kLesson));
    lorvenna::lesson().pages->rightCount = 5;
    ASSERT_TRUE(readIndex(kLesson));
    EXPECT_EQ(pageNumbers(), (std::vector<int>{3, 1}));
    EXPECT_EQ(lorvenna::lesson().pages->rightCount, 0);
    // A new lesson without TEST is no test lesson, whatever was read before.
    ASSERT_TRUE(readIndex("Lesson 01-01\nTEST 3\nEND PAGES\n"));
    ASSERT_TRUE(readIndex("Lesson 01-01\nTOTAL 3\nEND PAGES\n"));
    EXPECT_FALSE(lorvenna::lesson().testLesson);
}

TEST_F(LessonIndexTest, TheFirstMatchingHeaderAfterTheDisplayLineWins) {
    ASSERT_TRUE(readIndex(R"(Lesson 01-01
PAGE 1
DISPLAY Pic
DISPLAY Other
END PAGES
DISPLAY Picture 1 1 1 1 A
END DISPLAY
DISPLAY Other only-a-name
DISPLAY Pic 1 2 3 4 N
END DISPLAY
DISPLAY Other 5 6 7 8 N
DISPLAY Pic 9 9 9 9 A
END LESSON
)"));
    const PageEntry* page = lorvenna::lesson().pages;
    // "Picture" is not "Pic", and a header needs its numbers.
    EXPECT_EQ(page->displayOffset[1], positionOf("DISPLAY Pic 1 2"));
    EXPECT_EQ(page->displayOffset[2], positionOf("DISPLAY Other 5"));
}

TEST_F(LessonIndexTest, NamesMatchIgnoringCaseInTheUsersLocaleToo) {
    // In a Turkish locale the library lowers 'I' to a dotless i (or not at all), which would
    // make "Intro" and "INTRO" two names there and nowhere else.
    const ScopedLocale turkish = ScopedLocale::turkish();
    if (!turkish.active())
        GTEST_SKIP() << "no Turkish locale installed";
    ASSERT_TRUE(succeeded(readIndex(kLesson)));
    EXPECT_EQ(lorvenna::lesson().pages->next->displayOffset[1], positionOf("DISPLAY INTRO 10"));
}

TEST_F(LessonIndexTest, ReportsAMissingFileAndAMissingDisplay) {
    std::strcpy(lorvenna::lesson().lessonPath, "LSNS\\09-09.LSN");
    EXPECT_EQ(readLessonIndex().message(), "Lesson file LSNS\\09-09.LSN is nonexistent or bad.");

    struct Case {
        const char* what;
        const char* lesson;
        const char* message;
    };
    const Case cases[] = {
        {"no block at all", "Lesson 01-01\nPAGE 2\nDISPLAY Missing\nEND PAGES\nEND LESSON\n",
         "Page 2 specified nonexistent Display Missing"},
        {"the block stands after END LESSON",
         "Lesson 01-01\nPAGE 4\nDISPLAY Late\nEND PAGES\nEND LESSON\nDISPLAY Late 1 2 3 4 A\n",
         "Page 4 specified nonexistent Display Late"},
        {"the first missing display is the one reported",
         "Lesson 01-01\nPAGE 1\nDISPLAY A\nPAGE 2\nDISPLAY B\nDISPLAY C\nEND PAGES\n"
         "DISPLAY A 1 1 1 1 A\nEND LESSON\n",
         "Page 2 specified nonexistent Display B"},
        // Without END PAGES the blocks' headers are page lines too, and the last one finds no
        // header after it.
        {"no END PAGES",
         "Lesson 01-01\nPAGE 1\nDISPLAY Intro\nDISPLAY Intro 1 2 3 4 A\nEND DISPLAY\nEND LESSON\n",
         "Page 1 specified nonexistent Display Intro"},
    };
    for (const Case& c : cases) {
        freePages();
        resetSession();
        EXPECT_EQ(readIndex(c.lesson).message(), c.message) << c.what;
        EXPECT_EQ(lorvenna::lesson().pages, nullptr) << c.what;
    }
}

TEST_F(LessonIndexTest, LongLinesAreSearchedInTheReadersPieces) {
    // The 260-character line comes as a piece of 240 and one of 20; the second piece is a
    // header line of its own, as the line reader cuts it.
    const std::string filler(240, '*');
    ASSERT_TRUE(readIndex("Lesson 01-01\n" + filler + "PAGE 7\nDISPLAY Tail\nEND PAGES\n" + filler +
                          "DISPLAY Tail 1 2 3 4 A\nEND LESSON\n"));
    EXPECT_EQ(pageNumbers(), (std::vector<int>{7}));
    EXPECT_EQ(lorvenna::lesson().pages->displayOffset[1], positionOf("DISPLAY Tail 1"));
}

TEST_F(LessonIndexTest, NineDisplaysFitATenthOrAnOrphanOrALongNameIsRefused) {
    std::string nine = "Lesson 01-01\nPAGE 1\n";
    std::string blocks = "END PAGES\n";
    for (int i = 1; i <= 9; ++i) {
        nine += "DISPLAY D" + std::to_string(i) + "\n";
        blocks += "DISPLAY D" + std::to_string(i) + " 1 2 3 4 A\nEND DISPLAY\n";
    }
    blocks += "DISPLAY D10 1 2 3 4 A\nEND DISPLAY\nEND LESSON\n";
    ASSERT_TRUE(succeeded(readIndex(nine + blocks)));
    EXPECT_EQ(lorvenna::lesson().pages->displayName[9], "D9");

    const std::string name59(59, 'n');
    ASSERT_TRUE(readIndex("Lesson 01-01\nPAGE 1\nDISPLAY " + name59 + "\nEND PAGES\nDISPLAY " +
                          name59 + " 1 2 3 4 A\nEND LESSON\n"));
    EXPECT_EQ(lorvenna::lesson().pages->displayName[1], name59);

    struct Case {
        const char* what;
        std::string lesson;
        const char* message;
    };
    const Case cases[] = {
        {"tenth display", nine + "DISPLAY D10\n" + blocks, "Page 1 names more than 9 Displays"},
        {"display before any page", "Lesson 01-01\nDISPLAY D1\nPAGE 1\n" + blocks,
         "No PAGE line before Display D1"},
        {"name of 60", "Lesson 01-01\nPAGE 5\nDISPLAY " + std::string(60, 'n') + "\n" + blocks,
         "Page 5 names a Display longer than 59 characters"},
    };
    for (const Case& c : cases) {
        freePages();
        resetSession();
        EXPECT_EQ(readIndex(c.lesson).message(), c.message) << c.what;
        EXPECT_EQ(lorvenna::lesson().pages, nullptr) << c.what;
    }

    // The message about a missing display with a long name names it whole, on its line.
    resetSession();
    const Status read = readIndex("Lesson 01-01\nPAGE 12345\nDISPLAY " + name59 + "\nEND PAGES\n");
    ASSERT_FALSE(read);
    EXPECT_EQ(read.message(), "Page 12345 specified nonexistent Display " + name59);
    EXPECT_EQ(read.diagnostic().file, "LSNS\\01-01.LSN");
    EXPECT_EQ(read.diagnostic().line, 3);
}

namespace {

// A lesson of pages each showing a shared frame and a display of its own, and the blocks.
std::string generatedLesson(int pages) {
    std::string text = "Lesson 01-01 Generated\r\nTOTAL 1\r\n";
    char line[96];
    for (int p = 1; p <= pages; ++p) {
        std::snprintf(line, sizeof line, "PAGE %d\r\nDISPLAY Frame\r\nDISPLAY P%d\r\n", p, p);
        text += line;
    }
    text += "END PAGES\r\nDISPLAY Frame 0 0 800 40 A\r\nEND DISPLAY\r\n";
    for (int p = 1; p <= pages; ++p) {
        std::snprintf(line, sizeof line,
                      "DISPLAY P%d 10 50 780 500 N\r\nITEM TEXT T%d\r\n}\r\nEND DISPLAY\r\n", p, p);
        text += line;
    }
    return text + "END LESSON\r\n";
}

} // namespace

TEST_F(LessonIndexTest, ALessonOf20000PagesIsReadInLinearTime) {
    const std::string lesson = generatedLesson(20000);
    folder.write("LSNS/01-01.LSN", lesson, false);
    std::strcpy(lorvenna::lesson().lessonPath, "LSNS\\01-01.LSN");
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(succeeded(readLessonIndex()));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(lorvenna::lesson().pageCount, 20000);

    const PageEntry* last = lorvenna::lesson().pages;
    while (last->next)
        last = last->next;
    EXPECT_EQ(last->displayOffset[1], static_cast<long>(lesson.find("DISPLAY Frame 0")));
    EXPECT_EQ(last->displayOffset[2], static_cast<long>(lesson.find("DISPLAY P20000 ")));
    // Searching the file again from every DISPLAY line would read some 10^9 lines here; one
    // pass takes well under a second, even under the sanitizers.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 20000);
}

// Page turns find their entry through an index: the marks must still fall on every entry of
// the page shown and on no other, as the bookmark writes them.
TEST_F(LessonIndexTest, MarkingThePageShownMovesTheMarksFromPageToPage) {
    ASSERT_TRUE(readIndex("Lesson 01-01\nPAGE 1\nPAGE 2\nPAGE 1\nEND PAGES\n"));
    PageEntry* first = lorvenna::lesson().pages;
    PageEntry* second = first->next;
    PageEntry* third = second->next;
    auto marks = [&] {
        return std::vector<int>{first->isCurrent, second->isCurrent, third->isCurrent};
    };

    EXPECT_EQ(markCurrentPage(1), third) << "the last entry of the page is the one shown";
    EXPECT_EQ(marks(), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(markCurrentPage(2), second);
    EXPECT_EQ(marks(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(markCurrentPage(5), nullptr);
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 0}));
}

namespace {

// What reading the index means, step by step: every line read from the file, every DISPLAY
// line searching the file forward from itself. Slow, and the measure of the one-pass reader.
struct PlainIndex {
    bool ok = true;
    std::string error;
    long failedLine = -1;
    std::string title;
    long total = 0;
    bool test = false;
    std::vector<std::pair<long, std::vector<std::pair<std::string, long>>>> pages;
};

// The 1-based line of the byte at position: CR LF, a lone CR and a lone LF each end a line.
long lineNumberOf(const std::string& bytes, long position) {
    long line = 1;
    for (long i = 0; i < position && i < static_cast<long>(bytes.size()); ++i) {
        if (bytes[i] == '\r' || (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')))
            ++line;
    }
    return line;
}

PlainIndex readPlainly(const char* name) {
    PlainIndex index;
    FileHandle file = openForReading(name);
    char line[241] = {};
    readLine(file, line, 240);
    index.title = line;
    auto fail = [&](const std::string& error, long at) {
        index.ok = false;
        index.error = error;
        index.failedLine = at;
        closeFile(file);
        return index;
    };
    for (;;) {
        const long at = filePosition(file);
        if (readLine(file, line, 240) < 0 || findText(line, "END PAGES"))
            break;
        long value = 0;
        if (LineMatcher m(line); m.keyword("TOTAL") && m.whole(value))
            index.total = value;
        if (LineMatcher m(line); m.keyword("TEST") && m.whole(value)) {
            index.total = value;
            index.test = true;
            continue;
        }
        if (LineMatcher m(line); m.keyword("PAGE") && m.whole(value)) {
            index.pages.push_back({value, {}});
            continue;
        }
        std::string name;
        if (LineMatcher m(line); !(m.keyword("DISPLAY") && m.word(name)))
            continue;
        if (index.pages.empty())
            return fail("No PAGE line before Display " + name, at);
        const std::string page = std::to_string(index.pages.back().first);
        if (index.pages.back().second.size() == 9)
            return fail("Page " + page + " names more than 9 Displays", at);
        if (name.size() > 59)
            return fail("Page " + page + " names a Display longer than 59 characters", at);
        const long after = filePosition(file);
        long header = -1;
        for (char block[241]; header < 0;) {
            const long q = filePosition(file);
            if (readLine(file, block, 240) < 0 || findText(block, "END LESSON"))
                return fail("Page " + page + " specified nonexistent Display " + name, at);
            LineMatcher m(block);
            std::string word;
            long x = 0;
            if (m.keyword("DISPLAY") && m.word(word) && m.whole(x) &&
                equalsIgnoringCase(word, name))
                header = q;
        }
        seekFile(file, after);
        index.pages.back().second.push_back({name, header});
    }
    closeFile(file);
    return index;
}

// A lesson of random lines from a few forms: names that differ in case, headers in the page
// section, END markers inside longer lines and across the reader's 240-byte cuts, blank
// lines, lone CR or LF, and zero bytes.
std::string randomLesson(std::mt19937& random) {
    const char* const names[] = {"a", "A", "b", "Bb", "bB", "c"};
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::string text = "Lesson 01-01 random\r\nPAGE 1\r\n";
    const int lines = 5 + pick(40);
    for (int i = 0; i < lines; ++i) {
        const std::string name = names[pick(6)];
        switch (pick(16)) {
        case 0:
        case 1:
        case 2:
            text += "PAGE " + std::to_string(pick(5));
            break;
        case 3:
        case 4:
        case 5:
        case 6:
            text += " DISPLAY " + name;
            break;
        case 7:
        case 8:
        case 9:
            text += "DISPLAY " + name + " 1 2 3 4 A";
            break;
        case 10:
            text += pick(3) ? "END PAGES" : "xEND PAGESx";
            break;
        case 11:
            text += pick(4) ? "ITEM TEXT T" : "say END LESSON now";
            break;
        case 12:
            text += "TOTAL " + std::to_string(pick(9)) + (pick(2) ? "" : " TEST 2");
            break;
        case 13:
            text += "TEST " + std::to_string(pick(9));
            break;
        case 14:
            text += std::string(static_cast<std::size_t>(230 + pick(12)), '*') +
                    (pick(2) ? "END LESSON" : "DISPLAY " + name + " 5 6 7 8 N");
            break;
        case 15:
            text += "DISPLAY " + name + std::string(" 1 1 1 1 A\0 END LESSON", 22);
            break;
        }
        const char* const ends[] = {"\r\n", "\r\n", "\r\n", "\n", "\r", "\r\n\r\n"};
        text += ends[pick(6)];
    }
    // Mostly a block for every name at the end, so that most lessons read.
    for (const char* name : names)
        text += pick(5) ? "DISPLAY " + std::string(name) + " 9 9 9 9 A\r\n" : "";
    return text;
}

} // namespace

TEST_F(LessonIndexTest, OnePassReadsWhatASearchFromEveryDisplayLineFinds) {
    std::mt19937 random(17);
    int refused = 0;
    int found = 0;
    for (int round = 0; round < 400; ++round) {
        const std::string lesson = randomLesson(random);
        folder.write("LSNS/01-01.LSN", lesson, false);
        const PlainIndex expected = readPlainly("LSNS\\01-01.LSN");
        freePages();
        resetSession();
        std::strcpy(lorvenna::lesson().lessonPath, "LSNS\\01-01.LSN");
        const Status read = readLessonIndex();
        const bool ok = static_cast<bool>(read);
        SCOPED_TRACE(testing::Message() << "round " << round << ":\n" << lesson);
        ASSERT_EQ(ok, expected.ok) << read.message();
        EXPECT_EQ(lorvenna::lesson().lessonTitle, expected.title);
        if (!ok) {
            ++refused;
            EXPECT_EQ(read.message(), expected.error);
            EXPECT_EQ(read.diagnostic().line, lineNumberOf(lesson, expected.failedLine));
            EXPECT_EQ(lorvenna::lesson().pages, nullptr);
            continue;
        }
        EXPECT_EQ(lorvenna::lesson().questionTotal, expected.total);
        EXPECT_EQ(lorvenna::lesson().testLesson, expected.test);
        const PageEntry* entry = lorvenna::lesson().pages;
        for (const auto& [number, displays] : expected.pages) {
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->pageNumber, number);
            found += static_cast<int>(displays.size());
            for (int slot = 1; slot < kDisplaySlots; ++slot) {
                const std::size_t i = static_cast<std::size_t>(slot - 1);
                EXPECT_EQ(entry->displayName[slot], i < displays.size() ? displays[i].first : "");
                EXPECT_EQ(entry->displayOffset[slot], i < displays.size() ? displays[i].second : 0);
            }
            entry = entry->next;
        }
        EXPECT_EQ(entry, nullptr);
    }
    // Both outcomes come up often enough to mean something.
    EXPECT_GT(found, 300);
    EXPECT_GT(refused, 100);
}

} // namespace lorvenna

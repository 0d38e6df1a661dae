// The line reader, the formatted line writer and their limits, on real files.
#include "platform/LineReader.h"

#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lorvenna {

namespace {

struct ReadLine {
    int length;
    std::string text;
    bool operator==(const ReadLine&) const = default;
};

// Every line the reader gives for the bytes, up to and including the first -1.
std::vector<ReadLine> readAll(const WorkFolder& folder, const std::string& bytes, int limit) {
    folder.write("TEXT.TXT", bytes, false);
    FileHandle file = openForReading("TEXT.TXT");
    EXPECT_FALSE(isInvalid(file));
    std::vector<ReadLine> lines;
    // The destination holds exactly limit + 1 bytes, so an overrun is caught.
    std::vector<char> destination(static_cast<std::size_t>(limit) + 1, 'x');
    for (int guard = 0; guard < 100; ++guard) {
        const int length = readLine(file, destination.data(), limit);
        lines.push_back({length, destination.data()});
        if (length < 0)
            break;
    }
    closeFile(file);
    return lines;
}

} // namespace

TEST(LineReader, SplitsLinesAndConsumesRunsOfLineEnds) {
    WorkFolder folder;
    const std::string long300(300, 'L');
    struct Case {
        const char* what;
        std::string bytes;
        int limit;
        std::vector<ReadLine> expected;
    };
    const Case cases[] = {
        {"CR LF lines, last without end", "ABC\r\nDEF", 240, {{3, "ABC"}, {3, "DEF"}, {-1, ""}}},
        {"blank line goes with the line end",
         "A\r\n\r\nB\r\n",
         240,
         {{1, "A"}, {1, "B"}, {-1, ""}}},
        {"LF only reads the same", "A\n\nB\n", 240, {{1, "A"}, {1, "B"}, {-1, ""}}},
        {"lone CR", "A\rB\r", 240, {{1, "A"}, {1, "B"}, {-1, ""}}},
        {"file begins with a line end", "\r\nX\r\n", 240, {{0, ""}, {1, "X"}, {-1, ""}}},
        {"line of exactly n, then its line end as an empty line",
         "ABC\r\nD",
         3,
         {{3, "ABC"}, {0, ""}, {1, "D"}, {-1, ""}}},
        {"long line in pieces of n",
         long300 + "\r\nZ",
         240,
         {{240, std::string(240, 'L')}, {60, std::string(60, 'L')}, {1, "Z"}, {-1, ""}}},
        {"limit 1: each line-end byte a line",
         "AB\r\n",
         1,
         {{1, "A"}, {1, "B"}, {0, ""}, {0, ""}, {-1, ""}}},
        {"limit 255 takes a line of 255",
         std::string(255, 'M'),
         255,
         {{255, std::string(255, 'M')}, {-1, ""}}},
        {"empty file", "", 240, {{-1, ""}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readAll(folder, c.bytes, c.limit), c.expected) << c.what;
}

TEST(LineReader, LeavesThePositionAtTheNextLine) {
    // The lesson index keeps these positions and seeks back to them.
    WorkFolder folder;
    folder.write("TEXT.TXT", "AB\r\n\r\n\nCD\r\nEF", false);
    FileHandle file = openForReading("TEXT.TXT");
    char line[241];
    EXPECT_EQ(readLine(file, line, 240), 2);
    EXPECT_EQ(filePosition(file), 7);
    EXPECT_EQ(readLine(file, line, 240), 2);
    EXPECT_EQ(filePosition(file), 11);
    ASSERT_TRUE(seekFile(file, 7));
    EXPECT_EQ(readLine(file, line, 240), 2);
    EXPECT_STREQ(line, "CD");
    closeFile(file);
}

TEST(LineReader, NamesTheLineOfAReadLineAsAnEditorCountsIt) {
    // A blank line is consumed with the line end before it, yet an editor counts it; a lone
    // CR ends a line too.
    WorkFolder folder;
    folder.write("TEXT.TXT", "AB\r\n\r\n\nCD\r\nEF\rGH", false);
    FileHandle file = openForReading("TEXT.TXT");
    char line[241];
    long start = -1;
    std::vector<long> numbers;
    while (readLine(file, line, 240, start) >= 0)
        numbers.push_back(lineNumberAt(file, start));
    EXPECT_EQ(numbers, (std::vector<long>{1, 4, 5, 6}));
    EXPECT_EQ(start, 14) << "the last line read";
    ASSERT_TRUE(seekFile(file, 7));
    EXPECT_EQ(lineNumberAt(file, 11), 5);
    EXPECT_EQ(filePosition(file), 7) << "the reader's place is kept";
    EXPECT_EQ(lineNumberAt(file, -1), 0);
    closeFile(file);
}

TEST(LineReader, RefusesLimitsOutsideOneTo255AndTheInvalidHandle) {
    WorkFolder folder;
    folder.write("TEXT.TXT", "ABC\r\n", false);
    FileHandle file = openForReading("TEXT.TXT");
    char line[300] = "untouched";
    EXPECT_EQ(readLine(file, line, 0), -1);
    EXPECT_EQ(readLine(file, line, 256), -1);
    EXPECT_EQ(readLine(file, line, -5), -1);
    EXPECT_EQ(filePosition(file), 0) << "nothing may be read";
    EXPECT_EQ(readLine(kInvalidFile, line, 10), -1);
    EXPECT_EQ(readLine(file, line, 10), 3);
    closeFile(file);
}

TEST(LineReader, WriterWritesUpTo254CharactersAndRefusesMoreOrNothing) {
    WorkFolder folder;
    FileHandle file = createForWriting("OUT.TXT");
    ASSERT_FALSE(isInvalid(file));
    EXPECT_TRUE(writeFormattedLine(file, " L %ld\r\n", 102L));
    EXPECT_TRUE(writeFormattedLine(file, "%s", std::string(254, 'a').c_str()));
    EXPECT_FALSE(writeFormattedLine(file, "%s", std::string(255, 'b').c_str()));
    EXPECT_FALSE(writeFormattedLine(file, "%s", ""));
    EXPECT_FALSE(writeFormattedLine(kInvalidFile, "P %d\r\n", 1));
    closeFile(file);
    EXPECT_EQ(folder.read("OUT.TXT"), " L 102\r\n" + std::string(254, 'a'));
}

// The buffered reader of the lesson index must give what the line reader gives, line by
// line and position by position, also where a line or a run of line ends meets its limit or
// the end of one of its reads.
TEST(LineReader, BufferedReaderGivesTheSameLinesAndPositions) {
    WorkFolder folder;
    std::string big;
    for (int i = 0; i < 3000; ++i)
        big += std::string(static_cast<std::size_t>(i % 250), 'a' + i % 26) +
               (i % 7 ? "\r\n" : "\n\r\n\r\n");
    const std::string inputs[] = {
        "ABC\r\nDEF",
        "A\r\n\r\nB\r\n",
        "\r\nX\rY\nZ",
        std::string(240, 'N') + "\r\nNEXT\r\n",
        std::string(239, 'N') + "\r\nNEXT",
        std::string(300, 'L') + "\r\n",
        "",
        big,
    };
    for (const std::string& bytes : inputs) {
        for (int limit : {14, 240}) {
            folder.write("TEXT.TXT", bytes, false);
            FileHandle plain = openForReading("TEXT.TXT");
            FileHandle buffered = openForReading("TEXT.TXT");
            BufferedLineReader reader(buffered);
            char expected[256];
            char got[256];
            for (int line = 0;; ++line) {
                const int want = readLine(plain, expected, limit);
                ASSERT_EQ(reader.read(got, limit), want) << "line " << line << " limit " << limit;
                if (want < 0)
                    break;
                ASSERT_STREQ(got, expected);
                ASSERT_EQ(reader.position(), filePosition(plain));
            }
            closeFile(plain);
            closeFile(buffered);
        }
    }
    char unused[8];
    EXPECT_EQ(BufferedLineReader(kInvalidFile).read(unused, 5), -1);
}

} // namespace lorvenna

// Reading grade files back: the lines of one lesson, the other owners and the listing.
#include "records/GradeScan.h"

#include "items/RunObjects.h"
#include "platform/Clock.h"
#include "platform/FixedText.h"
#include "records/GradeRecord.h"
#include "shell/Session.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

using Lines = std::vector<std::string>;

class GradeScanTest : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        work.addDrive('E');
        owner.keyDrive = 'E';
        setText(owner.studentId, "Kim42");
    }

    static std::string fileName(long major, long minor, int sequence) {
        char name[64];
        std::snprintf(name, sizeof name, "drive-E/LORVENNA/L%.2ld-%.2ldS%03d.GRD", major, minor,
                      sequence);
        return name;
    }

    void writeGrade(long major, long minor, int sequence, const char* id, int answered = 10,
                    int right = 8, int possible = 10, int changedByte = -1) {
        GradeRecord::Bytes bytes =
            GradeRecord::make(LocalTime{2009, 5, 7}, major, minor, answered, right, possible, id)
                .toDisk();
        if (changedByte >= 0)
            bytes[changedByte] ^= 0x10;
        work.write(fileName(major, minor, sequence),
                   std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()), false);
    }

    WorkFolder work;
    Lines lines;
    Student owner;
    GradeScan scan{lines, owner};
};

const char* const kNoGrades = "Lesson 03-12 -- No grades yet --";
const char* const kAltered = "Lesson 03-12, !!!!! ALTERED ENTRY !!!!!";

} // namespace

TEST_F(GradeScanTest, ValidRecordListsDatePercentAndCounts) {
    writeGrade(3, 12, 1, "Kim42", 10, 8, 10);
    writeGrade(3, 12, 2, "kim42", 6, 5, 10); // the owner's ID in other letter case
    writeGrade(3, 12, 3, "Kim42", 12, 12, 120);
    EXPECT_EQ(scan.scanLesson(3, 12), 3);
    EXPECT_EQ(lines,
              (Lines{
                  "Lesson 03-12 -- Date 05/07/09 -- [  80%] -- [ 10 ans,   8 right,  10 poss]",
                  "Lesson 03-12 -- Date 05/07/09 -- [  50%] -- [  6 ans,   5 right,  10 poss]",
                  "Lesson 03-12 -- Date 05/07/09 -- [  10%] -- [ 12 ans,  12 right, 120 poss]",
              }));
}

// A 100 % grade copied to another lesson's file name is no grade of that lesson; a lesson
// whose numbers make the sum pass 16 bits keeps its valid grades.
TEST_F(GradeScanTest, ARecordCountsOnlyInItsOwnLessonsFile) {
    writeGrade(1, 1, 2, "Kim42", 10, 10, 10);
    work.write(fileName(7, 7, 1), work.read(fileName(1, 1, 2)), false);
    writeGrade(320, 1, 1, "Kim42", 10, 10, 10);
    EXPECT_EQ(scan.scanLesson(7, 7), 2);
    EXPECT_EQ(lines, (Lines{"Lesson 07-07, !!!!! ALTERED ENTRY !!!!!",
                            "Lesson 07-07 -- No grades yet --"}));
    lines.clear();
    EXPECT_EQ(scan.scanLesson(320, 1), 1);
    EXPECT_EQ(lines, (Lines{"Lesson 320-01 -- Date 05/07/09 -- [ 100%] -- [ 10 ans,  10 right,  "
                            "10 poss]"}));
}

TEST_F(GradeScanTest, GapInSequenceEndsTheScan) {
    writeGrade(3, 12, 1, "Kim42");
    writeGrade(3, 12, 2, "Kim42");
    writeGrade(3, 12, 4, "Kim42");
    EXPECT_EQ(scan.scanLesson(3, 12), 2);
    EXPECT_EQ(lines.size(), 2u);
}

TEST_F(GradeScanTest, ShortGradeFileEndsTheScan) {
    writeGrade(3, 12, 1, "Kim42");
    work.write(fileName(3, 12, 2), std::string(59, 'x'), false);
    writeGrade(3, 12, 3, "Kim42");
    EXPECT_EQ(scan.scanLesson(3, 12), 1);
}

TEST_F(GradeScanTest, ChangedByteMarksTheLineButChangedFillDoesNot) {
    writeGrade(3, 12, 1, "Kim42", 10, 8, 10, /*changedByte=*/10); // right: 8 becomes 24
    writeGrade(3, 12, 2, "Kim42", 10, 8, 10, /*changedByte=*/30); // fill of the name field
    EXPECT_EQ(scan.scanLesson(3, 12), 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], kAltered);
    EXPECT_EQ(lines[1],
              "Lesson 03-12 -- Date 05/07/09 -- [  80%] -- [ 10 ans,   8 right,  10 poss]");
}

TEST_F(GradeScanTest, OnlyAlteredRecordsAlsoSayNoGradesYet) {
    writeGrade(3, 12, 1, "Kim42", 10, 8, 10, /*changedByte=*/57);
    EXPECT_EQ(scan.scanLesson(3, 12), 2);
    EXPECT_EQ(lines, (Lines{kAltered, kNoGrades}));
}

TEST_F(GradeScanTest, LessonWithoutGradesSaysSo) {
    int redraws = 0;
    scan.onLineAdded([&] { ++redraws; });
    EXPECT_EQ(scan.scanLesson(3, 12), 1);
    EXPECT_EQ(lines, (Lines{kNoGrades}));
    EXPECT_EQ(redraws, 1);
}

TEST_F(GradeScanTest, OtherStudentsRecordsGoToTheOwnersList) {
    setText(owner.studentId, "S3");
    writeGrade(3, 12, 1, "S1");
    writeGrade(3, 12, 2, "S2");
    writeGrade(3, 12, 3, "S1");
    writeGrade(3, 12, 4, "S3");
    EXPECT_EQ(scan.scanLesson(3, 12), -1);
    EXPECT_EQ(scan.otherOwners(), "S1 and S2");
    // The owner's own record is still listed.
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("[  80%]"), std::string::npos);
}

TEST_F(GradeScanTest, RecordNameEndsAtItsFirstZeroByte) {
    // Names in damaged records: one that is empty as a text belongs to an unknown student;
    // a zero after the owner's ID still names the owner.
    auto writeNamed = [&](int sequence, const std::string& nameBytes) {
        GradeRecord record = GradeRecord::make(LocalTime{2009, 5, 7}, 3, 12, 10, 8, 10, "Kim42");
        record.nameLength = static_cast<std::int16_t>(nameBytes.size());
        for (std::size_t i = 0; i < nameBytes.size(); ++i)
            record.name[i] = static_cast<std::uint8_t>(nameBytes[i]);
        record.checksum = record.computeChecksum();
        const GradeRecord::Bytes bytes = record.toDisk();
        work.write(fileName(3, 12, sequence),
                   std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()), false);
    };
    writeNamed(1, std::string("\0\0\0", 3));
    writeNamed(2, std::string("Kim42\0", 6));
    writeNamed(3, std::string("Bo\0x", 4));
    EXPECT_EQ(scan.scanLesson(3, 12), -1);
    EXPECT_EQ(scan.otherOwners(), "<unknown> and Bo");
    EXPECT_EQ(lines, (Lines{"Lesson 03-12 -- Date 05/07/09 -- [  80%] -- [ 10 ans,   8 right,  "
                            "10 poss]"}));
}

TEST(OtherOwners, JoiningRules) {
    Lines lines;
    const Student nobody;
    GradeScan scan(lines, nobody);
    scan.addOtherOwner("Ann");
    scan.addOtherOwner("Bo");
    scan.addOtherOwner("Ann");
    scan.addOtherOwner("An"); // already there as part of "Ann": left out
    scan.addOtherOwner("");
    scan.addOtherOwner("");
    scan.addOtherOwner("ann"); // the test for a name already there minds letter case
    EXPECT_EQ(scan.otherOwners(), "Ann and Bo<unknown><unknown> and ann");

    scan.clearOtherOwners();
    scan.addOtherOwner("");
    scan.addOtherOwner("Cy");
    EXPECT_EQ(scan.otherOwners(), "<unknown> and Cy");
}

TEST(OtherOwners, FullListDropsNamesThatDoNotFit) {
    Lines lines;
    const Student nobody;
    GradeScan scan(lines, nobody);
    char name[8];
    for (int i = 0; i < 400; ++i) {
        std::snprintf(name, sizeof name, "N%04d", i);
        scan.addOtherOwner(name);
    }
    scan.addOtherOwner("");
    const std::size_t length = scan.otherOwners().size();
    EXPECT_LE(length, 2047u);
    EXPECT_GT(length, 2047u - 10); // "N0000 and N0001 ... and N0204", plus no partial name
    const std::string list = scan.otherOwners();
    EXPECT_EQ(list.substr(list.size() - 5), "N0204");
}

TEST_F(GradeScanTest, ListingClassifiesOwnersAndOthers) {
    struct Case {
        const char* name;
        std::vector<const char*> lessonFiles;
        std::vector<std::pair<int, const char*>> grades; // lesson minor, ID
        GradeListing result;
        std::size_t lines;
    };
    const Case cases[] = {
        {"owner's grades", {"01-01.LSN", "01-02.LSN"}, {{1, "Kim42"}}, GradeListing::OwnersOnly, 2},
        {"owner's and others",
         {"01-01.LSN", "01-02.LSN"},
         {{1, "Kim42"}, {2, "Bo"}},
         GradeListing::OwnersAndOthers,
         2},
        {"others only, first lesson",
         {"01-01.LSN", "01-02.LSN"},
         {{1, "Bo"}},
         GradeListing::OthersOnly,
         2},
        // Another student's record met first does not hide the owner's own grade.
        {"others first, owner's later",
         {"01-01.LSN", "01-02.LSN"},
         {{1, "Bo"}, {2, "Kim42"}},
         GradeListing::OwnersAndOthers,
         2},
        {"others last, owner's none",
         {"01-01.LSN", "01-02.LSN"},
         {{2, "Bo"}},
         GradeListing::OthersOnly,
         2},
        {"no lesson listed", {"intro.LSN"}, {}, GradeListing::NoGrades, 0},
    };
    for (const Case& c : cases) {
        WorkFolder folder;
        folder.addDrive('E');
        for (const char* file : c.lessonFiles)
            folder.write(std::string("LSNS/") + file, "Lesson\n");
        for (auto [minor, id] : c.grades) {
            const GradeRecord::Bytes bytes =
                GradeRecord::make(LocalTime{2009, 5, 7}, 1, minor, 4, 3, 4, id).toDisk();
            char name[64];
            std::snprintf(name, sizeof name, "drive-E/LORVENNA/L01-%02dS001.GRD", minor);
            folder.write(name, std::string(reinterpret_cast<const char*>(bytes.data()), 60), false);
        }
        Lines listed;
        GradeScan all(listed, owner);
        EXPECT_EQ(all.listAllLessons(), c.result) << c.name;
        EXPECT_EQ(listed.size(), c.lines) << c.name;
    }
}

TEST_F(GradeScanTest, ListingSkipsFilesWithoutLessonNumbers) {
    work.write("LSNS/02-05.LSN", "Lesson 2-5\n");
    work.write("LSNS/notes.LSN", "Something else\n");
    work.write("LSNS/7.LSN", "Lesson 7\n");
    work.write("LSNS/1-x.LSN", "Lesson 1\n");
    writeGrade(2, 5, 1, "Kim42");
    EXPECT_EQ(scan.listAllLessons(), GradeListing::OwnersOnly);
    EXPECT_EQ(lines, (Lines{"Lesson 02-05 -- Date 05/07/09 -- [  80%] -- [ 10 ans,   8 right,  10 "
                            "poss]"}));

    long major = 0;
    long minor = 0;
    EXPECT_TRUE(lessonNumbersFromFileName("10-3b.LSN", major, minor));
    EXPECT_EQ(major, 10);
    EXPECT_EQ(minor, 3);
    EXPECT_FALSE(lessonNumbersFromFileName("-1-2.LSN", major, minor));
    EXPECT_FALSE(lessonNumbersFromFileName("1--2.LSN", major, minor));
}

TEST_F(GradeScanTest, RecordWithoutPossibleShowsZeroPercent) {
    writeGrade(3, 12, 1, "Kim42", 0, 0, 0);
    EXPECT_EQ(scan.scanLesson(3, 12), 1);
    EXPECT_EQ(lines, (Lines{"Lesson 03-12 -- Date 05/07/09 -- [   0%] -- [  0 ans,   0 right,   "
                            "0 poss]"}));
}

TEST_F(GradeScanTest, NoKeyDriveReadsNothing) {
    writeGrade(3, 12, 1, "Kim42");
    owner.keyDrive = 0;
    EXPECT_EQ(scan.scanLesson(3, 12), 1);
    EXPECT_EQ(lines, (Lines{kNoGrades}));
}

} // namespace lorvenna

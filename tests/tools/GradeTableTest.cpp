// The class table from key disks: owners, verified records, other owners, and the files the
// review cannot read.
#include "tools/grades/GradeTable.h"

#include "items/RunObjects.h"
#include "platform/Clock.h"
#include "platform/FixedText.h"
#include "records/GradeRecord.h"
#include "records/KeyDisk.h"
#include "shell/Session.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace lorvenna {
namespace {

// A registered disk under the work folder, made with the player's own key writer.
std::string makeDisk(WorkFolder& folder, char letter, const char* owner) {
    const std::string root = folder.addDrive(letter);
    session().student.keyDrive = letter;
    setText(session().student.studentId, owner);
    setText(session().student.typedPassword, "pw");
    EXPECT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);
    return root;
}

void writeRecord(WorkFolder& folder, const std::string& relative, const GradeRecord& record) {
    const GradeRecord::Bytes bytes = record.toDisk();
    folder.write(relative, std::string(bytes.begin(), bytes.end()), false);
}

GradeRecord attempt(const char* student, long right) {
    return GradeRecord::make(LocalTime{2009, 5, 7, 10, 0, 0}, 3, 12, 10, right, 10, student);
}

TEST(GradeTable, TwoDisksMakeOneVerifiedTable) {
    resetSession();
    WorkFolder folder;
    const std::string first = makeDisk(folder, 'E', "S1");
    const std::string second = makeDisk(folder, 'F', "S2");
    writeRecord(folder, "drive-E/LORVENNA/L03-12S001.GRD", attempt("S1", 8));
    GradeRecord altered = attempt("s1", 6);
    altered.answered = 9; // changed after the checksum was made
    writeRecord(folder, "drive-E/LORVENNA/L03-12S002.GRD", altered);
    writeRecord(folder, "drive-F/LORVENNA/L03-12S001.GRD", attempt("S2", 10));
    writeRecord(folder, "drive-F/LORVENNA/L03-12S002.GRD", attempt("S3", 5));

    GradeTable table;
    table.addDisk(first);
    table.addDisk(second + "/LORVENNA"); // the LORVENNA folder names its disk as well
    EXPECT_EQ(table.csv(), "student,lesson,attempt,date,answered,right,possible,percent,status\r\n"
                           "S1,03-12,1,2009-05-07,10,8,10,80.0,valid\r\n"
                           "S1,03-12,2,2009-05-07,9,6,10,60.0,altered\r\n"
                           "S2,03-12,1,2009-05-07,10,10,10,100.0,valid\r\n"
                           "S3,03-12,2,2009-05-07,10,5,10,50.0,valid\r\n");
    ASSERT_EQ(table.disks().size(), 2u);
    EXPECT_EQ(table.disks()[0].owner, "S1");
    EXPECT_EQ(table.disks()[0].reviewLines,
              (std::vector<std::string>{
                  "Lesson 03-12 -- Date 05/07/09 -- [  80%] -- [ 10 ans,   8 right,  10 poss]",
                  "Lesson 03-12, !!!!! ALTERED ENTRY !!!!!"}));
    EXPECT_EQ(table.disks()[1].otherOwners, "S3");
    EXPECT_FALSE(table.clean());
}

// "--csv -" gives the table alone on standard output, so it can be piped.
TEST(GradeTable, CsvToStandardOutputIsTheTableAlone) {
    resetSession();
    WorkFolder folder;
    const std::string disk = makeDisk(folder, 'E', "S1");
    writeRecord(folder, "drive-E/LORVENNA/L03-12S001.GRD", attempt("S1", 8));
    const std::string command =
        std::string(LORVENNA_TOOL_DIR) + "/lorvenna-grades " + disk + " --csv - 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(output, "student,lesson,attempt,date,answered,right,possible,percent,status\r\n"
                      "S1,03-12,1,2009-05-07,10,8,10,80.0,valid\r\n");
}

TEST(GradeTable, ReportsUnregisteredDisksAndFilesTheReviewNeverReads) {
    resetSession();
    WorkFolder folder;
    const std::string blank = folder.addDrive('E');
    writeRecord(folder, "drive-E/LORVENNA/L01-01S001.GRD", attempt("S7", 4));
    const std::string disk = makeDisk(folder, 'F', "S8");
    folder.write("drive-F/LORVENNA/L01-01S001.GRD", "short", false);
    writeRecord(folder, "drive-F/LORVENNA/L01-01S002.GRD", attempt("S8", 9));
    folder.write("drive-F/LORVENNA/LNOTES.GRD", "x", false);

    GradeTable table;
    table.addDisk(blank);
    table.addDisk(disk);
    table.addDisk(folder.path() + "/missing");
    const auto& disks = table.disks();
    EXPECT_EQ(disks[0].problem, "A disk is present but not registered for Lorvenna.");
    EXPECT_EQ(disks[1].notes,
              (std::vector<std::string>{
                  "LORVENNA/LNOTES.GRD: not a grade file name",
                  "LORVENNA/L01-01S001.GRD: shorter than a grade record, unreadable",
                  "LORVENNA/L01-01S002.GRD: not listed by the grade review, which stops at "
                  "LORVENNA/L01-01S001.GRD"}));
    EXPECT_EQ(disks[2].problem, "No such folder.");
    // Grades of an unregistered disk, and those the review never reaches, still count.
    ASSERT_EQ(table.rows().size(), 2u);
    EXPECT_EQ(table.rows()[0].student, "S7");
    EXPECT_EQ(table.rows()[1].attempt, 2);
}

} // namespace
} // namespace lorvenna

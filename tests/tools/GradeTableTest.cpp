// The class table from key disks: every status a stick can give, text that is safe where it
// goes, a folder of thousands of files read at a cost linear in their number, and the tool's
// exit codes and outputs.
#include "tools/grades/GradeTable.h"

#include "items/RunObjects.h"
#include "platform/Clock.h"
#include "platform/FixedText.h"
#include "platform/HostNames.h"
#include "records/GradeRecord.h"
#include "records/GradeScan.h"
#include "records/KeyDisk.h"
#include "shell/Session.h"
#include "tests/support/RegisteredDisk.h"
#include "tests/support/WorkFolder.h"
#include "tools/grades/OutputFile.h"
#include "tools/grades/SafeText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvenna {
namespace {

void writeRecord(WorkFolder& folder, const std::string& relative, const GradeRecord& record) {
    const GradeRecord::Bytes bytes = record.toDisk();
    folder.write(relative, std::string(bytes.begin(), bytes.end()), false);
}

GradeRecord attempt(std::string_view student, long right, long major = 3, long minor = 12) {
    return GradeRecord::make(LocalTime{2009, 5, 7, 10, 0, 0}, major, minor, 10, right, 10, student);
}

// Runs the tool; its exit code, standard output and (when wanted) standard error.
int runTool(const std::string& arguments, std::string& output, bool withErrors = false) {
    const std::string command = std::string(LORVENNA_TOOL_DIR) + "/lorvenna-grades " + arguments +
                                (withErrors ? " 2>&1" : " 2>/dev/null");
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    output.clear();
    char buffer[512];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(GradeTable, EveryStatusOfAStickWithWhy) {
    resetSession();
    WorkFolder folder;
    const std::string disk = makeRegisteredDisk(folder, 'E', "S1");
    writeRecord(folder, "drive-E/LORVENNA/L03-12S001.GRD", attempt("s1", 8));
    GradeRecord altered = attempt("S1", 6);
    altered.answered = 9; // changed after the checksum was made
    writeRecord(folder, "drive-E/LORVENNA/L03-12S002.GRD", altered);
    writeRecord(folder, "drive-E/LORVENNA/L03-12S003.GRD", attempt("S2", 10)); // foreign
    writeRecord(folder, "drive-E/LORVENNA/L01-01S001.GRD", attempt("S1", 10)); // copied
    folder.write("drive-E/LORVENNA/L01-01S002.GRD", "short", false);
    std::filesystem::create_symlink(folder.path() + "/drive-E/LORVENNA/L03-12S001.GRD",
                                    folder.path() + "/drive-E/LORVENNA/L01-01S003.GRD");
    ASSERT_EQ(::mkfifo((folder.path() + "/drive-E/LORVENNA/L01-01S004.GRD").c_str(), 0600), 0);
    // A copy of another student's grade file on a disk with no key file.
    const std::string blank = folder.addDrive('F');
    writeRecord(folder, "drive-F/LORVENNA/L03-12S001.GRD", attempt("S1", 8));

    // A stick whose LORVENNA folder is a link to the first one's: nothing is read through it.
    const std::string linked = folder.addDrive('G');
    std::filesystem::create_symlink(disk + "/LORVENNA", linked + "/LORVENNA");

    GradeTable table;
    table.addDisk(disk + "/LORVENNA/"); // the LORVENNA folder names its disk as well
    table.addDisk(blank);
    table.addDisk(folder.path() + "/missing");
    table.addDisk(linked);
    table.addDisk(disk); // given again: read once
    struct Expected {
        long major, attempt;
        GradeStatus status;
        const char* why;
        const char* student;
    };
    const Expected expected[] = {
        {1, 1, GradeStatus::Altered, "a record of lesson 03-12 under this lesson's name", "S1"},
        {1, 2, GradeStatus::Unreadable, "shorter than a grade record", "S1"},
        {1, 3, GradeStatus::Unreadable, "a link, not followed", "S1"},
        {1, 4, GradeStatus::Unreadable, "not a plain file", "S1"},
        {3, 1, GradeStatus::Valid, "", "S1"},
        {3, 2, GradeStatus::Altered, "the checksum does not hold", "S1"},
        {3, 3, GradeStatus::Foreign, "a record of S2 on the disk of S1", "S2"},
        {3, 1, GradeStatus::Unregistered, "no key file on the disk", "S1"},
    };
    ASSERT_EQ(table.rows().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const GradeRow& row = table.rows()[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(row.major, expected[i].major);
        EXPECT_EQ(row.attempt, expected[i].attempt);
        EXPECT_EQ(row.status, expected[i].status);
        EXPECT_EQ(row.why, expected[i].why);
        EXPECT_EQ(row.student, expected[i].student);
    }
    EXPECT_EQ(table.rows().back().disk, blank);
    EXPECT_EQ(table.countLine(), "1 valid, 2 altered, 1 foreign, 1 unregistered, 3 unreadable");
    EXPECT_EQ(table.disks()[2].problem, "No such folder.");
    EXPECT_EQ(table.disks()[3].owner, "");
    EXPECT_EQ(table.disks()[4].notes,
              std::vector<std::string>{"the same disk as " + disk + "/LORVENNA/, read once"});
    EXPECT_FALSE(table.clean());
}

TEST(GradeTable, CellsAndListingAreSafeForSpreadsheetsAndTerminals) {
    const std::pair<const char*, const char*> cells[] = {{"=1+1", "'=1+1"},
                                                         {"+1", "'+1"},
                                                         {"-1", "'-1"},
                                                         {"@SUM(A1)", "'@SUM(A1)"},
                                                         {"\tx", "'\tx"},
                                                         {"\rx", "\"'\rx\""},
                                                         {"a,b", "\"a,b\""},
                                                         {"say \"hi\"", "\"say \"\"hi\"\"\""},
                                                         {"two\nlines", "\"two\nlines\""},
                                                         {"Ada", "Ada"}};
    for (const auto& [text, cell] : cells)
        EXPECT_EQ(csvCell(text), cell) << text;
    EXPECT_EQ(shownText("a\\b\n\x1b[31m\xe9"), "a\\\\b\\x0A\\x1B[31m\\xE9");
    // A name that is not UTF-8 as a whole reads as the player shows it: Western text.
    EXPECT_EQ(htmlText("<b>&'\"\x1b\xe9\xc3\xa9"),
              "&lt;b&gt;&amp;&#39;&quot;\xef\xbf\xbd\xc3\xa9\xc3\x83\xc2\xa9");
    EXPECT_EQ(htmlText("\xce\x91\xc2\x85"), "\xce\x91\xef\xbf\xbd");

    // Names a student can put into a grade record: a formula, and a fake disk header.
    resetSession();
    WorkFolder folder;
    const std::string disk = makeRegisteredDisk(folder, 'E', "S1");
    writeRecord(folder, "drive-E/LORVENNA/L03-12S001.GRD", attempt("=HYPERLINK(\"x\")", 8));
    writeRecord(folder, "drive-E/LORVENNA/L03-12S002.GRD",
                attempt("S1\n/stick: student S9\x1b[32m", 8));
    std::string output;
    EXPECT_EQ(runTool(disk + " --csv -", output), 1);
    EXPECT_NE(output.find(",\"'=HYPERLINK(\"\"x\"\")\",03-12,1,"), std::string::npos) << output;
    EXPECT_EQ(runTool(disk, output), 1);
    EXPECT_EQ(output.find('\x1b'), std::string::npos);
    EXPECT_NE(output.find("S1\\x0A/stick: student S9\\x1B[32m"), std::string::npos) << output;
}

// The cost of reading a big folder is counted in folder reads, not in seconds: a folder read
// per file looked up, as when a stick's folder has a time in the future, would be thousands.
TEST(GradeTable, ThousandsOfFilesAreListedAFewTimesWhateverTheFolderTime) {
    resetSession();
    WorkFolder folder;
    folder.write("LSNS/01-01.LSN", "Lesson 01-01\r\n", false);
    const std::string disk = makeRegisteredDisk(folder, 'E', "S1");
    const std::string grades = disk + "/LORVENNA";
    // Names in small letters, as a FAT stick shows them, so every lookup matches by case.
    constexpr int kLessons = 10, kAttempts = 600;
    for (int lesson = 1; lesson <= kLessons; ++lesson) {
        for (int sequence = 1; sequence <= kAttempts; ++sequence) {
            char name[40];
            std::snprintf(name, sizeof name, "/l01-%02ds%03d.grd", lesson, sequence);
            const GradeRecord::Bytes bytes = attempt("S1", 7, 1, lesson).toDisk();
            std::ofstream(grades + name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
    }
    const time_t now = std::time(nullptr);
    for (const time_t folderTime : {now + 86400 * 365, now}) {
        const timespec times[2] = {{folderTime, 0}, {folderTime, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, grades.c_str(), times, 0), 0);
        const std::size_t before = folderReads();
        GradeTable table;
        table.addDisk(disk);
        EXPECT_EQ(table.statusCounts()[0], kLessons * kAttempts);
        // The player's own review of the same disk, lesson by lesson.
        std::vector<std::string> lines;
        Student owner;
        owner.keyDrive = 'E';
        setText(owner.studentId, "S1");
        GradeScan scan(lines, owner);
        for (int lesson = 1; lesson <= kLessons; ++lesson)
            scan.scanLesson(1, lesson);
        EXPECT_EQ(lines.size(), static_cast<std::size_t>(kLessons * kAttempts));
        EXPECT_LE(folderReads() - before, 3u * kLessons) << "folder time " << folderTime - now;
    }
}

TEST(GradeTable, ToolExitsOneWithCountsWhenARowIsNotValid) {
    resetSession();
    WorkFolder folder;
    const std::string disk = makeRegisteredDisk(folder, 'E', "S1");
    writeRecord(folder, "drive-E/LORVENNA/L03-12S001.GRD", attempt("S1", 8));
    std::string output;
    EXPECT_EQ(runTool(disk + " --csv -", output), 0);
    EXPECT_EQ(output.substr(output.find('\n') + 1).substr(disk.size()),
              ",S1,03-12,1,2009-05-07," + output.substr(output.find(",2009-05-07,") + 12, 5) +
                  ",10,8,10,80.0,valid,\r\n");
    writeRecord(folder, "drive-E/LORVENNA/L03-12S002.GRD", attempt("S2", 8));
    EXPECT_EQ(runTool(disk, output, true), 1);
    EXPECT_NE(output.find("lorvenna-grades: 1 valid, 0 altered, 1 foreign, 0 unregistered, "
                          "0 unreadable\n"),
              std::string::npos)
        << output;
}

// The table goes through a new file made for it: a link where the file or its temporary
// copy is to be leads nowhere.
TEST(GradeTable, OutputIsWrittenThroughANewFileNeverThroughALink) {
    WorkFolder folder;
    const std::string victim = folder.path() + "/victim";
    folder.write("victim", "keep", false);
    const std::string target = folder.path() + "/class.csv";
    std::filesystem::create_symlink(victim, target + "." + std::to_string(::getpid()) + "-0.part");
    std::filesystem::create_symlink(victim, target);
    ASSERT_TRUE(writeOutputFile(target, "table\r\n"));
    EXPECT_EQ(folder.read("victim"), "keep");
    EXPECT_FALSE(std::filesystem::is_symlink(target));
    EXPECT_EQ(folder.read("class.csv"), "table\r\n");
    EXPECT_FALSE(writeOutputFile(folder.path() + "/no-folder/x.csv", "x"));
}

} // namespace
} // namespace lorvenna

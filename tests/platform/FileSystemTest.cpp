// Names mapped to host files, wildcard searches, file operations and their error codes.
#include "platform/FileSystem.h"

#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

namespace lorvenna {

namespace fsys = std::filesystem;

namespace {

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fsys::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string readAll(std::string_view name) {
    FileHandle file = openForReading(name);
    std::string bytes;
    char buffer[64];
    long got;
    while ((got = readBytes(file, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<std::size_t>(got));
    closeFile(file);
    return bytes;
}

// A folder that refuses changes; restored by the work folder's clean-up.
void makeReadOnly(const std::string& folder) {
    ::chmod(folder.c_str(), 0555);
}

} // namespace

TEST(FileSystem, NamesFindExistingEntriesIgnoringCase) {
    WorkFolder work;
    work.write("LSNS/01-02.lsn", "x");
    work.write("BMPS/Sub/Pic.Bmp", "x");

    EXPECT_EQ(hostPath("lsns\\01-02.LSN"), work.path() + "/LSNS/01-02.lsn");
    EXPECT_EQ(hostPath("bmps\\SUB\\pic.bmp"), work.path() + "/BMPS/Sub/Pic.Bmp");
    // Parts that do not exist keep the name as formed, below the last one that does.
    EXPECT_EQ(hostPath("lsns\\NEW\\Deeper\\A.TXT"), work.path() + "/LSNS/NEW/Deeper/A.TXT");
    EXPECT_EQ(hostPath("LORVENNA.BMK"), work.path() + "/LORVENNA.BMK");
    EXPECT_EQ(hostPath(".\\lsns\\\\01-02.lsn"), work.path() + "/LSNS/01-02.lsn");
}

TEST(FileSystem, ExactNameWinsThenTheFirstInSortedOrder) {
    WorkFolder work;
    work.write("HELP/Key.grd", "mixed");
    work.write("HELP/KEY.GRD", "upper");
    work.write("HELP/key.grd", "lower");

    EXPECT_EQ(hostPath("HELP\\Key.grd"), work.path() + "/HELP/Key.grd");
    EXPECT_EQ(hostPath("HELP\\key.grd"), work.path() + "/HELP/key.grd");
    // No exact match: of the names equal but for case, the byte-wise first one.
    EXPECT_EQ(hostPath("HELP\\kEY.GRD"), work.path() + "/HELP/KEY.GRD");
}

TEST(FileSystem, NamesSeeFilesMadeAfterAnEarlierLookup) {
    WorkFolder work;
    EXPECT_EQ(hostPath("help\\notes.txt"), work.path() + "/HELP/notes.txt");
    work.write("HELP/NOTES.TXT", "x");
    EXPECT_EQ(hostPath("help\\notes.txt"), work.path() + "/HELP/NOTES.TXT");
    EXPECT_TRUE(fileExists("help\\Notes.Txt"));
    std::filesystem::rename(work.path() + "/HELP/NOTES.TXT", work.path() + "/HELP/Notes.txt");
    EXPECT_EQ(hostPath("HELP\\NOTES.TXT"), work.path() + "/HELP/Notes.txt");
    std::filesystem::remove(work.path() + "/HELP/Notes.txt");
    EXPECT_FALSE(fileExists("help\\notes.txt"));

    // A file made within one tick of the folder's clock leaves its time as it was: the
    // folder looks unchanged, and still the new file must be found.
    struct stat before;
    ASSERT_EQ(::stat((work.path() + "/HELP").c_str(), &before), 0);
    EXPECT_FALSE(fileExists("help\\grades.txt"));
    work.write("HELP/GRADES.TXT", "x");
    const timespec sameTimes[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, (work.path() + "/HELP").c_str(), sameTimes, 0), 0);
    EXPECT_EQ(hostPath("help\\grades.txt"), work.path() + "/HELP/GRADES.TXT");
}

TEST(FileSystem, NamesNeverLeadAboveTheWorkingFolderOrTheDriveRoot) {
    WorkFolder work;
    const std::string root = work.addDrive('E');
    work.write("BMPS/PIC.BMP", "x");
    work.write("drive-E/LORVENNA/KEY.GRD", "key");

    // ".." climbs within the name's own root, and stops there, as at the root of a drive.
    EXPECT_EQ(hostPath("bmps\\new\\..\\pic.bmp"), work.path() + "/BMPS/PIC.BMP");
    EXPECT_EQ(hostPath("BMPS\\..\\..\\..\\etc\\passwd"), work.path() + "/etc/passwd");
    EXPECT_EQ(hostPath("E:\\..\\..\\lorvenna\\key.grd"), root + "/LORVENNA/KEY.GRD");
    EXPECT_EQ(hostPath("E:..\\LORVENNA"), root + "/LORVENNA");
    // A name that starts at a root starts at the working folder's.
    EXPECT_EQ(hostPath("\\etc\\passwd"), work.path() + "/etc/passwd");
    EXPECT_TRUE(isInvalid(openForReading("BMPS\\..\\..\\..\\..\\..\\..\\..\\..\\etc\\passwd")));

    // Nothing is written beside the drive's folder.
    const std::vector<std::string> before = entriesOf(work.path());
    ASSERT_TRUE(writeWholeFile("E:\\..\\OUTSIDE.TXT", "x", 1));
    EXPECT_TRUE(fsys::exists(root + "/OUTSIDE.TXT"));
    EXPECT_EQ(entriesOf(work.path()), before);
}

TEST(FileSystem, DriveLettersLeadToTheDriveRoot) {
    WorkFolder work;
    const std::string root = work.addDrive('E');
    fsys::create_directories(root + "/Lorvenna");

    EXPECT_EQ(hostPath("E:\\LORVENNA\\KEY.GRD"), root + "/Lorvenna/KEY.GRD");
    EXPECT_EQ(hostPath("e:\\lorvenna"), root + "/Lorvenna");
    EXPECT_EQ(hostPath("E:\\"), root);

    ASSERT_TRUE(writeWholeFile("e:\\LORVENNA\\Key.Grd", "abc", 3));
    EXPECT_EQ(readAll("E:\\LORVENNA\\KEY.GRD"), "abc");
    EXPECT_TRUE(fsys::exists(root + "/Lorvenna/Key.Grd"));
}

TEST(FileSystem, AMissingDriveLeadsNowhere) {
    WorkFolder work;
    work.addDrive('E');
    const std::vector<std::string> before = entriesOf(work.path());

    EXPECT_EQ(hostPath("F:\\LORVENNA\\KEY.GRD"), "");
    FileHandle file = createForWriting("F:\\TEMPTEMP.TMP");
    EXPECT_TRUE(isInvalid(file));
    EXPECT_EQ(lastFileError(), FileError::NotFound);
    EXPECT_FALSE(createFolder("F:\\LORVENNA"));
    EXPECT_FALSE(writeWholeFile("F:\\LORVENNA\\KEY.GRD", "abc", 3));
    EXPECT_FALSE(writeWholeFile("F:KEY.GRD", "abc", 3));
    EXPECT_FALSE(fileExists("F:\\*.*"));
    EXPECT_TRUE(findFiles("F:\\*").empty());
    EXPECT_FALSE(deleteFile("F:\\X"));

    // Nothing was made in the working folder instead.
    EXPECT_EQ(entriesOf(work.path()), before);
}

TEST(FileSystem, ADriveWithoutMediumIsNotReady) {
    WorkFolder work;
    work.addDrive('E', false);

    clearFileError();
    FileHandle root = openForReading("E:\\");
    EXPECT_TRUE(isInvalid(root));
    EXPECT_EQ(lastFileError(), FileError::NotReady);
    EXPECT_FALSE(createFolder("E:\\LORVENNA"));
    EXPECT_EQ(lastFileError(), FileError::NotReady);
    EXPECT_FALSE(fsys::exists(work.path() + "/drive-E"));
}

TEST(FileSystem, AReadOnlyMediumIsWriteProtected) {
    WorkFolder work;
    const std::string root = work.addDrive('E');
    work.write("drive-E/LORVENNA/KEY.GRD", "old key");
    makeReadOnly(root);

    clearFileError();
    FileHandle file = createForWriting("E:\\TEMPTEMP.TMP");
    EXPECT_TRUE(isInvalid(file));
    EXPECT_EQ(lastFileError(), FileError::WriteProtected);

    EXPECT_FALSE(writeWholeFile("E:\\LORVENNA\\KEY.GRD", "new key", 7));
    EXPECT_EQ(lastFileError(), FileError::WriteProtected);
    EXPECT_FALSE(deleteFile("E:\\LORVENNA\\KEY.GRD"));
    EXPECT_EQ(lastFileError(), FileError::WriteProtected);

    // Reading still works, and nothing was changed or left behind.
    EXPECT_EQ(readAll("E:\\LORVENNA\\KEY.GRD"), "old key");
    EXPECT_EQ(entriesOf(root + "/LORVENNA"), std::vector<std::string>{"KEY.GRD"});
    EXPECT_EQ(entriesOf(root), std::vector<std::string>{"LORVENNA"});
}

TEST(FileSystem, WriteWholeFileReplacesTheFileAndLeavesNothingElse) {
    WorkFolder work;
    work.write("HELP/NOTES.TXT", "an older and longer text");

    ASSERT_TRUE(writeWholeFile("help\\notes.txt", "new", 3));
    EXPECT_EQ(work.read("HELP/NOTES.TXT"), "new");
    ASSERT_TRUE(writeWholeFile("HELP\\EMPTY.TXT", nullptr, 0));
    EXPECT_EQ(work.read("HELP/EMPTY.TXT"), "");
    EXPECT_EQ(entriesOf(work.path() + "/HELP"),
              (std::vector<std::string>{"EMPTY.TXT", "NOTES.TXT"}));

    struct stat st;
    ASSERT_EQ(::stat((work.path() + "/HELP/NOTES.TXT").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & 0444, 0u) << "the new file must be readable like any other";
}

TEST(FileSystem, WriteWholeFileKeepsTheOldFileWhenTheDiskFillsUp) {
    WorkFolder work;
    work.write("HELP/GRADES.TXT", "the old grades");
    const std::string big(4096, 'x');

    // A file size limit makes the write fail part way, as a full disk does.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeWholeFile("HELP\\GRADES.TXT", big.data(), big.size());
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(lastFileError(), FileError::Other);
    EXPECT_EQ(work.read("HELP/GRADES.TXT"), "the old grades");
    EXPECT_EQ(entriesOf(work.path() + "/HELP"), std::vector<std::string>{"GRADES.TXT"});
}

TEST(FileSystem, WriteWholeFileFailsIntoAMissingFolderOrOverAFolder) {
    WorkFolder work;
    EXPECT_FALSE(writeWholeFile("NOWHERE\\X.TXT", "abc", 3));
    EXPECT_EQ(lastFileError(), FileError::NotFound);
    EXPECT_FALSE(fsys::exists(work.path() + "/NOWHERE"));

    EXPECT_FALSE(writeWholeFile("LSNS", "abc", 3));
    EXPECT_TRUE(fsys::is_directory(work.path() + "/LSNS"));
    EXPECT_TRUE(entriesOf(work.path() + "/LSNS").empty());
    EXPECT_TRUE(entriesOf(work.path() + "/BMPS").empty());
}

// writeNewFile has no test of its own before writing: the refusal comes from the final
// step, so nothing can be made in between.
TEST(FileSystem, WriteNewFileNeverTouchesATakenName) {
    WorkFolder work;
    work.write("HELP/notes.txt", "kept");
    EXPECT_FALSE(writeNewFile("HELP\\NOTES.TXT", "new", 3));
    EXPECT_EQ(lastFileError(), FileError::AlreadyExists);
    EXPECT_FALSE(writeNewFile("LSNS", "new", 3));
    EXPECT_EQ(lastFileError(), FileError::AlreadyExists);
    EXPECT_EQ(work.read("HELP/notes.txt"), "kept");

    ASSERT_TRUE(writeNewFile("HELP\\NEW.TXT", "new", 3));
    EXPECT_EQ(work.read("HELP/NEW.TXT"), "new");
    EXPECT_EQ(entriesOf(work.path() + "/HELP"), (std::vector<std::string>{"NEW.TXT", "notes.txt"}));
    EXPECT_TRUE(entriesOf(work.path() + "/LSNS").empty());
}

TEST(FileSystem, WildcardSearchesSortIgnoringCase) {
    WorkFolder work;
    for (const char* name : {"02-01.LSN", "01-02.LSN", "01-01.lsn", "10-01.Lsn", "README",
                             "notes.txt", "ab.x", "AB.X", "Ab.x"})
        work.write(std::string("LSNS/") + name, "x");
    fsys::create_directories(work.path() + "/LSNS/FOLDER.LSN");

    EXPECT_EQ(findFiles("lsns\\*.lsn"),
              (std::vector<std::string>{"01-01.lsn", "01-02.LSN", "02-01.LSN", "10-01.Lsn"}));
    EXPECT_EQ(findFiles("LSNS\\0?-01.LSN"), (std::vector<std::string>{"01-01.lsn", "02-01.LSN"}));
    // Names equal but for case come in byte order, so the order is the same on every run.
    EXPECT_EQ(findFiles("LSNS\\ab.*"), (std::vector<std::string>{"AB.X", "Ab.x", "ab.x"}));
    // "*.*" also matches a name without a dot; folders are not files.
    EXPECT_EQ(findFiles("LSNS\\*.*").size(), 9u);
    EXPECT_EQ(findFiles("LSNS\\readme"), std::vector<std::string>{"README"});
    EXPECT_TRUE(findFiles("LSNS\\*.BMP").empty());
    EXPECT_TRUE(findFiles("MISSING\\*.LSN").empty());

    EXPECT_TRUE(fileExists("lsns\\*.LSN"));
    EXPECT_TRUE(fileExists("LSNS\\folder.lsn")); // any entry counts
    EXPECT_TRUE(fileExists("Lsns"));
    EXPECT_FALSE(fileExists("LSNS\\*.BMP"));
    EXPECT_FALSE(fileExists("LSNS\\0?.LSN"));
}

TEST(FileSystem, TheInvalidHandleFailsEverywhere) {
    FileHandle file = kInvalidFile;
    char buffer[4];
    EXPECT_TRUE(isInvalid(file));
    EXPECT_EQ(readBytes(file, buffer, 4), -1);
    EXPECT_EQ(writeBytes(file, "ab", 2), -1);
    EXPECT_EQ(filePosition(file), -1);
    EXPECT_FALSE(seekFile(file, 0));
    EXPECT_FALSE(seekToEnd(file));
    closeFile(file);
    EXPECT_EQ(file, kInvalidFile);
}

TEST(FileSystem, FilesReadWriteSeekAndAppendByteExactly) {
    WorkFolder work;
    FileHandle out = createForWriting("LSNS\\DATA.BIN");
    ASSERT_FALSE(isInvalid(out));
    const char bytes[] = {'A', '\r', '\n', '\0', 'B', '\x9f'};
    EXPECT_EQ(writeBytes(out, bytes, sizeof bytes), 6);
    EXPECT_EQ(filePosition(out), 6);
    closeFile(out);
    EXPECT_TRUE(isInvalid(out));

    FileHandle in = openForReading("lsns\\data.bin");
    ASSERT_FALSE(isInvalid(in));
    ASSERT_TRUE(seekFile(in, 3));
    char got[8] = {};
    EXPECT_EQ(readBytes(in, got, 8), 3);
    EXPECT_EQ(std::string(got, 3), std::string("\0B\x9f", 3));
    EXPECT_EQ(readBytes(in, got, 8), 0);
    EXPECT_FALSE(seekFile(in, -1));
    closeFile(in);

    FileHandle append = openForWriting("LSNS\\DATA.BIN");
    ASSERT_FALSE(isInvalid(append));
    ASSERT_TRUE(seekToEnd(append));
    EXPECT_EQ(writeBytes(append, "C", 1), 1);
    closeFile(append);
    EXPECT_EQ(work.read("LSNS/DATA.BIN"), std::string(bytes, 6) + "C");

    FileHandle again = createForWriting("LSNS\\DATA.BIN");
    closeFile(again);
    EXPECT_EQ(work.read("LSNS/DATA.BIN"), "");
}

TEST(FileSystem, FailuresSayWhy) {
    WorkFolder work;
    clearFileError();
    EXPECT_EQ(lastFileError(), FileError::None);

    EXPECT_TRUE(isInvalid(openForReading("LSNS\\MISSING.LSN")));
    EXPECT_EQ(lastFileError(), FileError::NotFound);
    // Opening for writing never creates.
    EXPECT_TRUE(isInvalid(openForWriting("LSNS\\MISSING.LSN")));
    EXPECT_EQ(lastFileError(), FileError::NotFound);
    EXPECT_FALSE(fsys::exists(work.path() + "/LSNS/MISSING.LSN"));

    EXPECT_TRUE(createFolder("HELP\\NEW"));
    EXPECT_FALSE(createFolder("help\\new"));
    EXPECT_EQ(lastFileError(), FileError::AlreadyExists);

    EXPECT_FALSE(deleteFile("HELP\\GONE.TXT"));
    EXPECT_EQ(lastFileError(), FileError::NotFound);
    work.write("HELP/GONE.TXT", "x");
    EXPECT_TRUE(deleteFile("help\\gone.txt"));
    EXPECT_FALSE(work.exists("HELP/GONE.TXT"));

    // Only plain files open: not a folder, and not a pipe, which would wait for a writer.
    EXPECT_TRUE(isInvalid(openForReading("LSNS")));
    ASSERT_EQ(::mkfifo((work.path() + "/LSNS/01-01.LSN").c_str(), 0644), 0);
    EXPECT_TRUE(isInvalid(openForReading("LSNS\\01-01.LSN")));
    EXPECT_TRUE(isInvalid(createForWriting("LSNS\\01-01.LSN")));
    EXPECT_TRUE(findFiles("LSNS\\*.LSN").empty());

    // A success leaves the last failure's reason alone until it is cleared.
    EXPECT_NE(lastFileError(), FileError::None);
    clearFileError();
    EXPECT_EQ(lastFileError(), FileError::None);
}

} // namespace lorvenna

namespace lorvenna {

// A stick is carried home: a link on it, as a file or as any folder part, is never followed,
// so nothing off the stick is read, created, emptied or removed through it. Links in the
// working folder, which the machine's owner set up, are followed as before.
TEST(FileSystem, OnADriveNoLinkIsFollowed) {
    WorkFolder work;
    const std::string root = work.addDrive('E');
    const std::string outside = work.path() + "/outside";
    work.write("outside/victim.txt", "precious", false);
    work.write("outside/folder/old.txt", "keep", false);
    fsys::create_symlink(outside + "/victim.txt", root + "/TEMPTEMP.TMP");
    fsys::create_symlink(outside + "/made.txt", root + "/DANGLING.TMP");
    fsys::create_symlink(outside + "/folder", root + "/LORVENNA");
    work.write("drive-E/REAL/OK.TXT", "ok", false);
    fsys::create_symlink(outside + "/victim.txt", root + "/REAL/NOTE.TXT");
    fsys::create_directories(root + "/REAL/DIR.TXT");
    ASSERT_EQ(::mkfifo((root + "/REAL/FIFO.TXT").c_str(), 0644), 0);

    EXPECT_TRUE(isInvalid(openForReading("E:\\TEMPTEMP.TMP")));
    EXPECT_EQ(lastFileError(), FileError::Other);
    EXPECT_TRUE(isInvalid(createForWriting("E:\\TEMPTEMP.TMP")));
    EXPECT_TRUE(isInvalid(createForWriting("E:\\DANGLING.TMP")));
    EXPECT_TRUE(isInvalid(openForReading("E:\\LORVENNA\\OLD.TXT")));
    EXPECT_FALSE(writeWholeFile("E:\\LORVENNA\\KEY.GRD", "key", 3));
    EXPECT_FALSE(writeNewFile("E:\\LORVENNA\\NEW.TXT", "new", 3));
    EXPECT_FALSE(createFolder("E:\\LORVENNA\\SUB"));
    EXPECT_FALSE(deleteFile("E:\\LORVENNA\\OLD.TXT"));
    EXPECT_TRUE(findFiles("E:\\LORVENNA\\*.*").empty());
    EXPECT_FALSE(fileExists("E:\\LORVENNA\\OLD.TXT"));
    // Only the plain file of the folder is a file; the pipe is refused without waiting.
    EXPECT_EQ(findFiles("E:\\REAL\\*.TXT"), std::vector<std::string>{"OK.TXT"});
    EXPECT_TRUE(isInvalid(openForReading("E:\\REAL\\FIFO.TXT")));
    EXPECT_TRUE(isInvalid(openForReading("E:\\REAL\\DIR.TXT")));
    // A file saved under a link's name replaces the link, never what it points at.
    EXPECT_TRUE(writeWholeFile("E:\\REAL\\NOTE.TXT", "mine", 4));
    EXPECT_EQ(readAll("E:\\REAL\\NOTE.TXT"), "mine");
    // The write probe makes a file of its own and leaves nothing behind.
    const std::vector<std::string> before = entriesOf(root);
    EXPECT_EQ(probeWritable("E:\\"), FileError::None);
    EXPECT_EQ(entriesOf(root), before);

    EXPECT_EQ(work.read("outside/victim.txt"), "precious");
    EXPECT_EQ(entriesOf(outside), (std::vector<std::string>{"folder", "victim.txt"}));
    EXPECT_EQ(entriesOf(outside + "/folder"), std::vector<std::string>{"old.txt"});

    fsys::create_symlink(outside + "/victim.txt", work.path() + "/LSNS/LINK.LSN");
    EXPECT_EQ(readAll("LSNS\\LINK.LSN"), "precious");
}

} // namespace lorvenna

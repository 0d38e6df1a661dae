// Removable drives from LORVENNA_DRIVES and from the mount table.
#include "platform/Drives.h"

#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace lorvenna {

namespace fsys = std::filesystem;

namespace {

std::string lettersOf(const std::vector<DriveInfo>& drives) {
    std::string letters;
    for (const DriveInfo& d : drives)
        letters += d.letter;
    return letters;
}

void writeText(const fsys::path& path, const std::string& text) {
    fsys::create_directories(path.parent_path());
    FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs(text.c_str(), f);
    std::fclose(f);
}

} // namespace

TEST(Drives, TheVariableListsTheDrives) {
    WorkFolder work;
    setenv("LORVENNA_DRIVES", "", 1);
    EXPECT_TRUE(removableDrives().empty());
    EXPECT_EQ(driveRoot('E'), "");

    const std::string e = work.addDrive('E');
    ASSERT_EQ(removableDrives().size(), 1u);
    EXPECT_EQ(removableDrives()[0].root, e);
    EXPECT_TRUE(removableDrives()[0].hasMedium);
    EXPECT_EQ(driveRoot('E'), e);
    EXPECT_EQ(driveRoot('e'), e);

    work.addDrive('F', false);
    const std::vector<DriveInfo> two = removableDrives();
    ASSERT_EQ(lettersOf(two), "EF");
    EXPECT_TRUE(two[0].hasMedium);
    EXPECT_FALSE(two[1].hasMedium) << "a missing folder is a drive without a medium";
    EXPECT_FALSE(two[1].root.empty());
    EXPECT_EQ(driveRoot('G'), "");
}

TEST(Drives, ListEntriesAreTrimmedAndBadOnesIgnored) {
    WorkFolder work;
    const std::string a = work.path() + "/a";
    const std::string b = work.path() + "/b";
    fsys::create_directories(a);
    fsys::create_directories(b);

    const std::vector<DriveInfo> drives =
        drivesFromList(" H = " + b + " ;E=" + a + ";;junk;1=" + a + ";EE=" + a + ";=" + a +
                       ";K=;  ;h=" + a + ";g=" + b + " ");
    ASSERT_EQ(lettersOf(drives), "EGH");
    EXPECT_EQ(drives[0].root, a);
    EXPECT_EQ(drives[1].root, b);
    EXPECT_EQ(drives[2].root, b) << "the first entry of a letter counts";
    for (const DriveInfo& d : drives)
        EXPECT_TRUE(d.hasMedium);
}

TEST(Drives, AReadOnlyFolderIsAWriteProtectedMedium) {
    WorkFolder work;
    const std::string e = work.addDrive('E');
    work.addDrive('F');
    ::chmod(e.c_str(), 0555);

    const std::optional<DriveInfo> drive = findDrive('E');
    ASSERT_TRUE(drive);
    EXPECT_TRUE(drive->hasMedium);
    EXPECT_TRUE(drive->writeProtected);
    EXPECT_FALSE(findDrive('F')->writeProtected);
}

TEST(Drives, MountedRemovableMediaGetLettersInMountPointOrder) {
    WorkFolder work;
    const fsys::path sys = work.path() + "/sys";
    // A fixed disk with a partition, a removable stick with a partition, a removable card
    // without partitions, and a second stick that is mounted twice.
    writeText(sys / "devices/sda/removable", "0\n");
    writeText(sys / "devices/sda/sda1/partition", "1\n");
    writeText(sys / "devices/sdb/removable", "1\n");
    writeText(sys / "devices/sdb/sdb1/partition", "1\n");
    writeText(sys / "devices/mmcblk0/removable", "1\n");
    writeText(sys / "devices/sdc/removable", "1\n");
    fsys::create_directories(sys / "dev/block");
    fsys::create_directory_symlink("../../devices/sda/sda1", sys / "dev/block/8:1");
    fsys::create_directory_symlink("../../devices/sdb/sdb1", sys / "dev/block/8:17");
    fsys::create_directory_symlink("../../devices/mmcblk0", sys / "dev/block/179:0");
    fsys::create_directory_symlink("../../devices/sdc", sys / "dev/block/8:32");

    const std::string mountinfo =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "30 22 0:25 / /proc rw,nosuid - proc proc rw\n"
        "41 22 8:17 / /media/zeta rw,nosuid shared:7 - vfat /dev/sdb1 rw\n"
        "42 22 179:0 / /media/card\\040one ro,nosuid - vfat /dev/mmcblk0 ro\n"
        "43 22 8:32 / /mnt/stick rw - vfat /dev/sdc rw\n"
        "44 22 8:32 / /media/alpha rw - vfat /dev/sdc rw\n"
        "45 22 8:17 /sub /srv/bound rw - vfat /dev/sdb1 rw\n"
        "46 22 7:0 / /snap/core ro - squashfs /dev/loop0 ro\n"
        "garbage line\n";

    const std::vector<DriveInfo> drives = drivesFromMounts(mountinfo, sys.string());
    ASSERT_EQ(lettersOf(drives), "EFG");
    EXPECT_EQ(drives[0].root, "/media/alpha");
    EXPECT_EQ(drives[1].root, "/media/card one");
    EXPECT_EQ(drives[2].root, "/media/zeta");
    for (const DriveInfo& d : drives)
        EXPECT_TRUE(d.hasMedium);
    EXPECT_FALSE(drives[0].writeProtected);
    EXPECT_TRUE(drives[1].writeProtected);

    EXPECT_TRUE(drivesFromMounts("", sys.string()).empty());
    EXPECT_EQ(lettersOf(hostDrives(mountinfo, sys.string())), "EFG");
}

// Media are seen once they are mounted: with none, the host still has a drive, empty, so
// that detection asks for a disk and offers Retry instead of ending the program.
TEST(Drives, AHostWithNothingMountedWaitsForAStick) {
    WorkFolder work;
    const std::vector<DriveInfo> drives =
        hostDrives("22 1 8:1 / / rw - ext4 /dev/sda1 rw\n", work.path() + "/sys");
    ASSERT_EQ(lettersOf(drives), "E");
    EXPECT_FALSE(drives[0].hasMedium);
    EXPECT_EQ(drives[0].root, "");
}

} // namespace lorvenna

// Removable drives and their letters.
//
// LORVENNA_DRIVES, when set, lists the removable drives as "E=/some/folder;F=/other": an
// existing folder is a drive holding a medium, a missing one a drive without medium, a
// read-only one is write-protected; an empty list means no removable drive. Without it,
// mounted removable media get letters from E upward in mount-point order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

struct DriveInfo {
    char letter = 0;
    std::string root; // host folder of the drive's root
    bool hasMedium = false;
    // The medium refuses every change (a read-only folder or mount), whoever runs the program.
    bool writeProtected = false;
};

// Sorted by letter.
std::vector<DriveInfo> removableDrives();
// The host folder of drive letter's root, or an empty text when there is no such drive.
std::string driveRoot(char letter);
// The drive with that letter (either case), if there is one.
std::optional<DriveInfo> findDrive(char letter);

// The drives listed by a LORVENNA_DRIVES text: "E=/some/folder;F=/other", blanks around
// entries allowed, entries without a letter A..Z, '=' and a folder ignored, the first entry
// of a letter kept. Medium and write protection are looked up on the host.
std::vector<DriveInfo> drivesFromList(std::string_view list);
// The removable drives of the host: its mounted removable media or, when none is mounted, one
// drive E without a medium (the port that waits for a stick).
std::vector<DriveInfo> hostDrives(std::string_view mountinfo, const std::string& sysfsRoot);
// The mounted removable media of a /proc/self/mountinfo text, their block devices looked up
// below sysfsRoot (normally "/sys"), lettered from E upward in mount-point order.
std::vector<DriveInfo> drivesFromMounts(std::string_view mountinfo, const std::string& sysfsRoot);

// The system's critical-error boxes have no counterpart here; the guard keeps the structure
// of every drive operation (switch off, work, restore) visible and does nothing.
class CriticalErrorGuard {
public:
    CriticalErrorGuard() = default;
    ~CriticalErrorGuard() = default;
    CriticalErrorGuard(const CriticalErrorGuard&) = delete;
    CriticalErrorGuard& operator=(const CriticalErrorGuard&) = delete;
};

} // namespace lorvenna

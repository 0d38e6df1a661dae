// Removable drives and their letters.
//
// LORVENNA_DRIVES, when set, lists the removable drives as "E=/some/folder;F=/other": an
// existing folder is a drive holding a medium, a missing one a drive without medium, a
// read-only one is write-protected. Without it, mounted removable media get letters from E
// upward in mount-point order.
#pragma once

#include <string>
#include <vector>

struct DriveInfo {
    char letter = 0;
    std::string root; // host folder of the drive's root
    bool hasMedium = false;
};

std::vector<DriveInfo> removableDrives();
// The host folder of drive letter's root, or an empty text when there is no such drive.
std::string driveRoot(char letter);

// The system's critical-error boxes have no counterpart here; the guard keeps the structure
// of every drive operation (switch off, work, restore) visible and does nothing.
class CriticalErrorGuard {
public:
    CriticalErrorGuard() = default;
    ~CriticalErrorGuard() = default;
    CriticalErrorGuard(const CriticalErrorGuard&) = delete;
    CriticalErrorGuard& operator=(const CriticalErrorGuard&) = delete;
};

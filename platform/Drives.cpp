// Removable drives: from LORVENNA_DRIVES when it is set, else from the mounted removable media.
#include "platform/Drives.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace lorvenna {

namespace {

constexpr char kFirstMountLetter = 'E';

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool isFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder nobody may write to, or one on a read-only mount, is a write-protected medium.
// The mode bits are looked at, not access(): the super-user passes every access test.
bool isReadOnlyFolder(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return false;
    if ((st.st_mode & 0222) == 0)
        return true;
    struct statvfs fs;
    return ::statvfs(path.c_str(), &fs) == 0 && (fs.f_flag & ST_RDONLY) != 0;
}

std::string readSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string text;
    std::getline(in, text);
    return text;
}

bool fileIsThere(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Mount points in mountinfo escape blanks, tabs, line feeds and backslashes as "\ooo".
std::string unescapeMountField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const char a = field[i + 1];
            const char b = field[i + 2];
            const char c = field[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
                out += static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0'));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(' ', at);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = line.find(' ', start);
        fields.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            break;
        at = end;
    }
    return fields;
}

// Whether the block device major:minor is removable; a partition asks its disk.
bool deviceIsRemovable(const std::string& sysfsRoot, std::string_view device) {
    const std::string base = sysfsRoot + "/dev/block/" + std::string(device);
    if (fileIsThere(base + "/partition"))
        return readSmallFile(base + "/../removable") == "1";
    return readSmallFile(base + "/removable") == "1";
}

bool hasReadOnlyOption(std::string_view options) {
    std::size_t at = 0;
    while (at <= options.size()) {
        const std::size_t comma = options.find(',', at);
        const std::string_view option = options.substr(
            at, comma == std::string_view::npos ? std::string_view::npos : comma - at);
        if (option == "ro")
            return true;
        if (comma == std::string_view::npos)
            break;
        at = comma + 1;
    }
    return false;
}

// Mounted media are looked up again only after this long: a search over many names on the
// key disk asks for the drive of every name.
constexpr auto kMountsKeptFor = std::chrono::milliseconds(500);

std::vector<DriveInfo> currentDrives() {
    if (const char* list = std::getenv("LORVENNA_DRIVES"))
        return drivesFromList(list);

    static std::vector<DriveInfo> mounted;
    static std::chrono::steady_clock::time_point readAt;
    static bool read = false;
    const auto now = std::chrono::steady_clock::now();
    if (read && now - readAt < kMountsKeptFor)
        return mounted;
    std::ifstream in("/proc/self/mountinfo", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    mounted = hostDrives(text.str(), "/sys");
    readAt = now;
    read = true;
    return mounted;
}

} // namespace

std::vector<DriveInfo> hostDrives(std::string_view mountinfo, const std::string& sysfsRoot) {
    std::vector<DriveInfo> drives = drivesFromMounts(mountinfo, sysfsRoot);
    // Removable media are seen only once they are mounted: with none, a USB port still waits
    // for a stick, so the student is told to insert one and retry rather than sent away.
    if (drives.empty()) {
        DriveInfo port;
        port.letter = kFirstMountLetter;
        drives.push_back(port);
    }
    return drives;
}

std::vector<DriveInfo> drivesFromList(std::string_view list) {
    std::map<char, DriveInfo> byLetter;
    std::size_t at = 0;
    while (at <= list.size()) {
        const std::size_t semicolon = list.find(';', at);
        const std::string_view entry = trimmed(list.substr(
            at, semicolon == std::string_view::npos ? std::string_view::npos : semicolon - at));
        at = semicolon == std::string_view::npos ? list.size() + 1 : semicolon + 1;

        const std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view letterPart = trimmed(entry.substr(0, equals));
        const std::string_view folder = trimmed(entry.substr(equals + 1));
        if (letterPart.size() != 1 || folder.empty())
            continue;
        char letter = letterPart[0];
        if (letter >= 'a' && letter <= 'z')
            letter = static_cast<char>(letter - 'a' + 'A');
        if (letter < 'A' || letter > 'Z' || byLetter.count(letter))
            continue;

        DriveInfo drive;
        drive.letter = letter;
        drive.root = std::string(folder);
        drive.hasMedium = isFolder(drive.root);
        drive.writeProtected = drive.hasMedium && isReadOnlyFolder(drive.root);
        byLetter.emplace(letter, std::move(drive));
    }
    std::vector<DriveInfo> drives;
    for (auto& [letter, drive] : byLetter)
        drives.push_back(std::move(drive));
    return drives;
}

std::vector<DriveInfo> drivesFromMounts(std::string_view mountinfo, const std::string& sysfsRoot) {
    // One mount point per device: the first in mount-point order of the whole filesystem.
    std::map<std::string, std::pair<std::string, bool>> byMountPoint;
    std::map<std::string, std::string> mountOfDevice;
    std::size_t at = 0;
    while (at < mountinfo.size()) {
        const std::size_t newline = mountinfo.find('\n', at);
        const std::string_view line = mountinfo.substr(
            at, newline == std::string_view::npos ? std::string_view::npos : newline - at);
        at = newline == std::string_view::npos ? mountinfo.size() : newline + 1;

        // id parent major:minor root mount-point options [optional...] - type source super
        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.size() < 6 || fields[3] != "/")
            continue;
        const std::string device(fields[2]);
        if (device.find(':') == std::string::npos || device.find('/') != std::string::npos)
            continue;
        if (!deviceIsRemovable(sysfsRoot, device))
            continue;
        const std::string mountPoint = unescapeMountField(fields[4]);
        auto known = mountOfDevice.find(device);
        if (known != mountOfDevice.end()) {
            if (known->second <= mountPoint)
                continue;
            byMountPoint.erase(known->second);
        }
        mountOfDevice[device] = mountPoint;
        byMountPoint[mountPoint] = {device, hasReadOnlyOption(fields[5])};
    }

    std::vector<DriveInfo> drives;
    char letter = kFirstMountLetter;
    for (const auto& [mountPoint, device] : byMountPoint) {
        if (letter > 'Z')
            break;
        DriveInfo drive;
        drive.letter = letter++;
        drive.root = mountPoint;
        drive.hasMedium = true;
        drive.writeProtected = device.second;
        drives.push_back(std::move(drive));
    }
    return drives;
}

std::vector<DriveInfo> removableDrives() {
    return currentDrives();
}

std::optional<DriveInfo> findDrive(char letter) {
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 'a' + 'A');
    for (DriveInfo& drive : currentDrives()) {
        if (drive.letter == letter)
            return std::move(drive);
    }
    return std::nullopt;
}

std::string driveRoot(char letter) {
    const std::optional<DriveInfo> drive = findDrive(letter);
    return drive ? drive->root : std::string();
}

} // namespace lorvenna

// Names as the program's users see them mapped onto host paths: drive letters, case-insensitive
// matching of every part against what exists, and wildcard searches of a folder.
#include "platform/HostNames.h"

#include "platform/Drives.h"
#include "platform/IgnoreCase.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>
#include <unordered_map>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvenna {

namespace {

std::size_t folderReadCount = 0;

// Every entry name of a folder but "." and "..", in the order the host gives them.
std::vector<std::string> listFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir)
        return names;
    ++folderReadCount;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

// The names of a folder by their case-folded form, each folded form with its first name in
// sorted order. Kept while the folder is unchanged, so that looking up many names whose case
// differs from the files' lists a folder once, not once per name.
struct FolderListing {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    timespec changed{};
    // Whether the folder's time was more than a clock tick away from the time it was listed
    // at. A folder's clock may tick coarsely (a jiffy, a second, two on some media), so a
    // change made soon after a listing can leave the time as it was: such a listing may be
    // out of date whatever its time says. A time in the future (a stick written on a machine
    // whose clock runs ahead) is settled too: any change made now moves it.
    bool settled = false;
    std::unordered_map<std::string, std::string> byFoldedName;
};

// Longer than any folder clock's tick.
constexpr time_t kFolderClockTick = 2;

bool settledAt(const timespec& changed) {
    timespec now{};
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0)
        return false;
    const time_t apart = now.tv_sec - changed.tv_sec;
    return apart > kFolderClockTick || apart < -kFolderClockTick;
}

constexpr std::size_t kListingsKept = 8;
std::vector<FolderListing> listings;

// The listing of folder. A listing kept from before serves when the folder's time is
// unchanged; one that is not settled serves only lookups that find their name there
// (mustBeFresh false), since a name it lacks may have come since: the caller checks the name it
// finds and asks again with mustBeFresh true when it finds none. listed tells whether the
// folder was read for this call.
const FolderListing* listingOf(const std::string& folder, bool mustBeFresh, bool& listed) {
    listed = false;
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return nullptr;
    auto sameFolder = [&](const FolderListing& l) {
        return (l.settled || !mustBeFresh) && l.path == folder && l.device == st.st_dev &&
               l.inode == st.st_ino && l.changed.tv_sec == st.st_mtim.tv_sec &&
               l.changed.tv_nsec == st.st_mtim.tv_nsec;
    };
    for (const FolderListing& listing : listings) {
        if (sameFolder(listing))
            return &listing;
    }
    listed = true;
    FolderListing fresh;
    fresh.path = folder;
    fresh.device = st.st_dev;
    fresh.inode = st.st_ino;
    fresh.changed = st.st_mtim;
    fresh.settled = settledAt(st.st_mtim);
    for (std::string& name : listFolder(folder)) {
        auto [it, added] = fresh.byFoldedName.try_emplace(foldedCopy(name), name);
        if (!added && lessIgnoringCase(name, it->second))
            it->second = std::move(name);
    }
    listings.erase(std::remove_if(listings.begin(), listings.end(),
                                  [&](const FolderListing& l) { return l.path == folder; }),
                   listings.end());
    if (listings.size() >= kListingsKept)
        listings.erase(listings.begin());
    listings.push_back(std::move(fresh));
    return &listings.back();
}

// The existing entry of folder whose name equals component ignoring case: the exact name
// when it is there, else the first case-insensitive match in sorted order; empty if none.
std::string matchComponent(const std::string& folder, std::string_view component) {
    if (pathExists(joinPath(folder, component)))
        return std::string(component);
    const std::string where = folder.empty() ? "/" : folder;
    const std::string folded = foldedCopy(component);
    // Looking many names up in a folder changed a moment ago costs one listing, not one a
    // name: a name found in the kept listing is checked on its own.
    bool listed = false;
    const FolderListing* listing = listingOf(where, false, listed);
    if (!listing)
        return {};
    auto it = listing->byFoldedName.find(folded);
    if (listing->settled || listed)
        return it == listing->byFoldedName.end() ? std::string() : it->second;
    if (it != listing->byFoldedName.end() && pathExists(joinPath(folder, it->second)))
        return it->second;
    listing = listingOf(where, true, listed);
    if (!listing)
        return {};
    it = listing->byFoldedName.find(folded);
    return it == listing->byFoldedName.end() ? std::string() : it->second;
}

// Splits a name into its folder part (with its trailing separator) and its last part.
void splitLast(std::string_view name, std::string_view& folder, std::string_view& last) {
    const std::size_t cut = name.find_last_of("\\/");
    if (cut != std::string_view::npos) {
        folder = name.substr(0, cut + 1);
        last = name.substr(cut + 1);
        return;
    }
    // "E:NAME" names the root of drive E.
    if (name.size() >= 2 && name[1] == ':') {
        folder = name.substr(0, 2);
        last = name.substr(2);
        return;
    }
    folder = {};
    last = name;
}

// '*' matches any run of bytes, '?' exactly one; letters compare ignoring case.
bool wildcardMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
            continue;
        }
        if (p < pattern.size() &&
            (pattern[p] == '?' || foldCase(pattern[p]) == foldCase(name[n]))) {
            ++p;
            ++n;
            continue;
        }
        if (starP == std::string_view::npos)
            return false;
        p = starP + 1;
        n = ++starN;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool hasWildcards(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

} // namespace

std::size_t folderReads() {
    return folderReadCount;
}

bool pathExists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isRegularFileItself(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int openFolderBelow(const std::string& root, const std::string& path) {
    if (path.compare(0, root.size(), root) != 0 ||
        (path.size() > root.size() && root.back() != '/' && path[root.size()] != '/')) {
        errno = EINVAL;
        return -1;
    }
    int folder = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::string_view rest = std::string_view(path).substr(root.size());
    while (folder >= 0 && !rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string part(rest.substr(0, slash));
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".")
            continue;
        // O_NOFOLLOW makes a link in this part fail with ELOOP; a file or a device named like
        // a folder fails with ENOTDIR, so nothing but a folder is ever opened here.
        const int inner =
            ::openat(folder, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int code = errno;
        ::close(folder);
        errno = code;
        folder = inner;
    }
    return folder;
}

std::string joinPath(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

ResolvedName resolveName(std::string_view name) {
    std::string text(name);
    std::replace(text.begin(), text.end(), '\\', '/');

    ResolvedName result;
    std::string_view rest = text;
    // Drive letters are the 26 ASCII letters, whatever the desktop's language.
    const char first = rest.empty() ? '\0' : rest[0];
    const bool lower = first >= 'a' && first <= 'z';
    if (rest.size() >= 2 && rest[1] == ':' && (lower || (first >= 'A' && first <= 'Z'))) {
        const char letter = lower ? static_cast<char>(first - 'a' + 'A') : first;
        // A drive letter without a drive leads nowhere: nothing may be read or made in
        // the working folder instead. A listed drive whose folder is missing holds no medium.
        const std::optional<DriveInfo> drive = findDrive(letter);
        if (!drive || drive->root.empty()) {
            result.nowhere = FileError::NotFound;
            return result;
        }
        if (!isDirectory(drive->root)) {
            result.nowhere = FileError::NotReady;
            return result;
        }
        result.path = drive->root;
        result.driveRoot = drive->root;
        result.writeProtected = drive->writeProtected;
        rest.remove_prefix(2);
    } else {
        // Also a name that starts with a separator: the working folder is the root of the
        // only drive such a name can mean.
        result.path = workingFolder();
    }

    // ".." climbs back one component, and no higher than the root the name starts from, as
    // at the root of a drive: no name a lesson file makes up leads outside the working
    // folder or a drive. Climbing is done on the name, not on the host's links.
    struct Step {
        std::size_t length;
        bool missing;
    };
    std::vector<Step> climbed;
    // Once a component is missing, none below it can exist: the rest keeps the name as formed.
    bool missing = false;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view component = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (component.empty() || component == ".")
            continue;
        if (component == "..") {
            if (!climbed.empty()) {
                result.path.resize(climbed.back().length);
                missing = climbed.back().missing;
                climbed.pop_back();
            }
            continue;
        }
        climbed.push_back(Step{result.path.size(), missing});
        if (missing) {
            result.path = joinPath(result.path, component);
            continue;
        }
        const std::string match = matchComponent(result.path, component);
        if (match.empty()) {
            missing = true;
            result.path = joinPath(result.path, component);
            continue;
        }
        result.path = joinPath(result.path, match);
    }
    return result;
}

std::vector<std::string> matchingEntries(std::string_view pattern, bool filesOnly,
                                         std::string& folderPath, FileError& nowhere) {
    std::string_view folder;
    std::string_view last;
    splitLast(pattern, folder, last);
    std::vector<std::string> found;
    const ResolvedName where = resolveName(folder);
    nowhere = where.nowhere;
    if (where.leadsNowhere())
        return found;
    folderPath = where.path;
    // "*.*" matches every name, also one without a dot, as users of such names expect.
    std::string_view wanted = last == "*.*" ? std::string_view("*") : last;
    if (wanted.empty())
        return found;
    // On a removable drive a folder reached through a link holds nothing, and a link is no
    // file: what a stick lists is what lies on the stick.
    if (where.onDrive()) {
        const int folderFd = openFolderBelow(where.driveRoot, folderPath);
        if (folderFd < 0)
            return found;
        ::close(folderFd);
    }
    auto isFile = [&](const std::string& path) {
        return where.onDrive() ? isRegularFileItself(path) : isRegularFile(path);
    };
    if (!hasWildcards(wanted)) {
        const std::string match = matchComponent(folderPath, wanted);
        if (!match.empty() && (!filesOnly || isFile(joinPath(folderPath, match))))
            found.push_back(match);
        return found;
    }
    for (std::string& entry : listFolder(folderPath)) {
        if (!wildcardMatch(wanted, entry))
            continue;
        if (filesOnly && !isFile(joinPath(folderPath, entry)))
            continue;
        found.push_back(std::move(entry));
    }
    return found;
}

} // namespace lorvenna

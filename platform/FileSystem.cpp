// Files and names over POSIX: name mapping with case-insensitive matching, byte-exact file
// operations, wildcard searches and whole-file replacement.
#include "platform/FileSystem.h"

#include "platform/Drives.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <unordered_map>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileError lastError = FileError::None;
std::string workingFolderPath;

// Where a name leads: a host path, or nowhere (a drive letter without a drive, or a drive
// without a medium) together with the reason every operation on it fails.
struct Resolved {
    std::string path;
    FileError nowhere = FileError::None;
    bool writeProtected = false; // on a drive whose medium refuses changes
    bool leadsNowhere() const { return nowhere != FileError::None; }
};

char foldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<char>(u - 'A' + 'a') : c;
}

// Case-insensitive order, ties broken by byte order so that the order is total.
bool lessIgnoringCase(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(foldCase(a[i]));
        const auto cb = static_cast<unsigned char>(foldCase(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

void setError(FileError error) {
    lastError = error;
}

FileError errorFromErrno(int code, bool writing) {
    switch (code) {
    case EROFS:
    case EACCES:
    case EPERM:
        return writing ? FileError::WriteProtected : FileError::Other;
    case ENOENT:
    case ENOTDIR:
        return FileError::NotFound;
    case EEXIST:
        return FileError::AlreadyExists;
#ifdef ENOMEDIUM
    case ENOMEDIUM:
#endif
    case ENXIO:
    case ENODEV:
        return FileError::NotReady;
    default:
        return FileError::Other;
    }
}

void setErrorFromErrno(bool writing) {
    setError(errorFromErrno(errno, writing));
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

// Every entry name of a folder but "." and "..", in the order the host gives them.
std::vector<std::string> listFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

std::string joinPath(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

std::string foldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        c = foldCase(c);
    return folded;
}

// The names of a folder by their case-folded form, each folded form with its first name in
// sorted order. Kept while the folder is unchanged, so that looking up many names whose case
// differs from the files' lists a folder once, not once per name.
struct FolderListing {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    timespec changed{};
    // Whether the folder's time was already past when it was listed. A folder's clock may
    // tick coarsely (a jiffy, a second, two on some media), so a change made soon after a
    // listing can leave the time as it was; such a listing is never reused.
    bool settled = false;
    std::unordered_map<std::string, std::string> byFoldedName;
};

// Longer than any folder clock's tick.
constexpr time_t kFolderClockTick = 2;

bool settledAt(const timespec& changed) {
    timespec now{};
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0)
        return false;
    return now.tv_sec - changed.tv_sec > kFolderClockTick;
}

constexpr std::size_t kListingsKept = 8;
std::vector<FolderListing> listings;

const FolderListing* listingOf(const std::string& folder) {
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return nullptr;
    auto sameFolder = [&](const FolderListing& l) {
        return l.settled && l.path == folder && l.device == st.st_dev && l.inode == st.st_ino &&
               l.changed.tv_sec == st.st_mtim.tv_sec && l.changed.tv_nsec == st.st_mtim.tv_nsec;
    };
    for (const FolderListing& listing : listings) {
        if (sameFolder(listing))
            return &listing;
    }
    FolderListing fresh;
    fresh.path = folder;
    fresh.device = st.st_dev;
    fresh.inode = st.st_ino;
    fresh.changed = st.st_mtim;
    fresh.settled = settledAt(st.st_mtim);
    for (std::string& name : listFolder(folder)) {
        auto [it, added] = fresh.byFoldedName.try_emplace(foldedName(name), name);
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
    const FolderListing* listing = listingOf(folder.empty() ? "/" : folder);
    if (!listing)
        return {};
    const auto it = listing->byFoldedName.find(foldedName(component));
    return it == listing->byFoldedName.end() ? std::string() : it->second;
}

Resolved resolve(std::string_view name) {
    std::string text(name);
    std::replace(text.begin(), text.end(), '\\', '/');

    Resolved result;
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

// The entries of the pattern's folder that match its last part, unsorted.
std::vector<std::string> matchingEntries(std::string_view pattern, bool filesOnly,
                                         std::string& folderPath) {
    std::string_view folder;
    std::string_view last;
    splitLast(pattern, folder, last);
    std::vector<std::string> found;
    const Resolved where = resolve(folder);
    if (where.leadsNowhere()) {
        setError(where.nowhere);
        return found;
    }
    folderPath = where.path;
    // "*.*" matches every name, also one without a dot, as users of such names expect.
    std::string_view wanted = last == "*.*" ? std::string_view("*") : last;
    if (wanted.empty())
        return found;
    if (!hasWildcards(wanted)) {
        const std::string match = matchComponent(folderPath, wanted);
        if (!match.empty() && (!filesOnly || isRegularFile(joinPath(folderPath, match))))
            found.push_back(match);
        return found;
    }
    for (std::string& entry : listFolder(folderPath)) {
        if (!wildcardMatch(wanted, entry))
            continue;
        if (filesOnly && !isRegularFile(joinPath(folderPath, entry)))
            continue;
        found.push_back(std::move(entry));
    }
    return found;
}

int openResolved(std::string_view name, int flags, bool writing) {
    const Resolved where = resolve(name);
    if (where.leadsNowhere()) {
        setError(where.nowhere);
        return -1;
    }
    if (writing && where.writeProtected) {
        setError(FileError::WriteProtected);
        return -1;
    }
    // Only plain files are files here: a folder, a device or a pipe named like a lesson is
    // refused at once, and never waited on.
    struct stat st;
    if (::stat(where.path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        setError(FileError::Other);
        return -1;
    }
    const int fd = ::open(where.path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        setErrorFromErrno(writing);
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        setError(FileError::Other);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = ENOSPC;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

void setWorkingFolder(const std::string& hostFolder) {
    workingFolderPath = hostFolder;
}

const std::string& workingFolder() {
    if (workingFolderPath.empty()) {
        if (char* cwd = ::getcwd(nullptr, 0)) {
            workingFolderPath = std::string(cwd, std::strlen(cwd));
            std::free(cwd);
        } else {
            workingFolderPath.assign(1, '.');
        }
    }
    return workingFolderPath;
}

std::string hostPath(std::string_view name) {
    const Resolved where = resolve(name);
    return where.leadsNowhere() ? std::string() : where.path;
}

FileHandle openForReading(std::string_view name) {
    return FileHandle{openResolved(name, O_RDONLY, false)};
}

FileHandle openForWriting(std::string_view name) {
    return FileHandle{openResolved(name, O_WRONLY, true)};
}

FileHandle createForWriting(std::string_view name) {
    return FileHandle{openResolved(name, O_WRONLY | O_CREAT | O_TRUNC, true)};
}

void closeFile(FileHandle& file) {
    if (!isInvalid(file))
        ::close(file.fd);
    file = kInvalidFile;
}

bool isInvalid(FileHandle file) {
    return file.fd < 0;
}

bool fileExists(std::string_view pattern) {
    std::string folder;
    return !matchingEntries(pattern, false, folder).empty();
}

std::vector<std::string> findFiles(std::string_view pattern) {
    std::string folder;
    std::vector<std::string> names = matchingEntries(pattern, true, folder);
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

long filePosition(FileHandle file) {
    if (isInvalid(file)) {
        setError(FileError::Other);
        return -1;
    }
    const off_t at = ::lseek(file.fd, 0, SEEK_CUR);
    if (at < 0) {
        setErrorFromErrno(false);
        return -1;
    }
    return static_cast<long>(at);
}

bool seekFile(FileHandle file, long offset) {
    if (isInvalid(file) || offset < 0) {
        setError(FileError::Other);
        return false;
    }
    if (::lseek(file.fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
        setErrorFromErrno(false);
        return false;
    }
    return true;
}

bool seekToEnd(FileHandle file) {
    if (isInvalid(file)) {
        setError(FileError::Other);
        return false;
    }
    if (::lseek(file.fd, 0, SEEK_END) < 0) {
        setErrorFromErrno(false);
        return false;
    }
    return true;
}

long readBytes(FileHandle file, void* buffer, long count) {
    if (isInvalid(file) || count < 0 || (count > 0 && !buffer)) {
        setError(FileError::Other);
        return -1;
    }
    auto* out = static_cast<char*>(buffer);
    long total = 0;
    while (total < count) {
        const ssize_t got = ::read(file.fd, out + total, static_cast<std::size_t>(count - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            setErrorFromErrno(false);
            return -1;
        }
        if (got == 0)
            break;
        total += static_cast<long>(got);
    }
    return total;
}

long writeBytes(FileHandle file, const void* buffer, long count) {
    if (isInvalid(file) || count < 0 || (count > 0 && !buffer)) {
        setError(FileError::Other);
        return -1;
    }
    if (!writeAll(file.fd, static_cast<const char*>(buffer), static_cast<std::size_t>(count))) {
        setErrorFromErrno(true);
        return -1;
    }
    return count;
}

bool deleteFile(std::string_view name) {
    const Resolved where = resolve(name);
    if (where.leadsNowhere()) {
        setError(where.nowhere);
        return false;
    }
    if (where.writeProtected) {
        setError(pathExists(where.path) ? FileError::WriteProtected : FileError::NotFound);
        return false;
    }
    if (::unlink(where.path.c_str()) != 0) {
        setErrorFromErrno(true);
        return false;
    }
    return true;
}

bool createFolder(std::string_view name) {
    const Resolved where = resolve(name);
    if (where.leadsNowhere()) {
        setError(where.nowhere);
        return false;
    }
    if (where.writeProtected) {
        setError(pathExists(where.path) ? FileError::AlreadyExists : FileError::WriteProtected);
        return false;
    }
    if (::mkdir(where.path.c_str(), 0777) != 0) {
        setErrorFromErrno(true);
        return false;
    }
    return true;
}

bool writeWholeFile(std::string_view name, const void* data, std::size_t size) {
    if (size > 0 && !data) {
        setError(FileError::Other);
        return false;
    }
    const Resolved where = resolve(name);
    if (where.leadsNowhere()) {
        setError(where.nowhere);
        return false;
    }
    if (where.writeProtected) {
        setError(FileError::WriteProtected);
        return false;
    }
    const std::size_t cut = where.path.find_last_of('/');
    const std::string folder = cut == std::string::npos ? "." : where.path.substr(0, cut + 1);
    const std::string last = cut == std::string::npos ? where.path : where.path.substr(cut + 1);
    if (last.empty()) {
        setError(FileError::Other);
        return false;
    }

    // A hidden name that no search pattern of the program matches, should it ever be left.
    std::string temporary = folder + "." + last + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        setErrorFromErrno(true);
        return false;
    }
    auto fail = [&](int code) {
        ::close(fd);
        ::unlink(temporary.c_str());
        setError(errorFromErrno(code, true));
        return false;
    };
    if (::fchmod(fd, 0666 & ~currentUmask()) != 0)
        return fail(errno);
    if (!writeAll(fd, static_cast<const char*>(data), size))
        return fail(errno);
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temporary.c_str());
        setError(errorFromErrno(code, true));
        return false;
    }
    if (::rename(temporary.c_str(), where.path.c_str()) != 0) {
        const int code = errno;
        ::unlink(temporary.c_str());
        setError(errorFromErrno(code, true));
        return false;
    }
    // Make the rename itself durable; a folder that cannot be synced changes nothing above.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

FileError lastFileError() {
    return lastError;
}

void clearFileError() {
    lastError = FileError::None;
}

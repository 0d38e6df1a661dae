// Files over POSIX: byte-exact file operations, searches and whole-file replacement, on names
// that HostNames maps onto the host.
#include "platform/FileSystem.h"

#include "platform/FileFaults.h"
#include "platform/HostNames.h"
#include "platform/IgnoreCase.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvenna {

namespace {

FileError lastError = FileError::None;
std::string workingFolderPath;

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

// Opens a folder a name leads to: on a removable drive every part below the drive's root
// without following a link (a stick is read on machines it should not be able to reach into),
// elsewhere as the host finds it. -1 with errno set.
int openFolder(const ResolvedName& where, const std::string& folder) {
    return where.onDrive() ? openFolderBelow(where.driveRoot, folder)
                           : ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Why a folder did not open: a link, or a file where a folder should be, is refused like a
// damaged file; a missing folder is not found.
FileError folderError(int code, bool writing) {
    if (code == ELOOP || code == ENOTDIR || code == EINVAL)
        return FileError::Other;
    return errorFromErrno(code, writing);
}

// The folder that holds a name's last part, open for the operations on that part.
class ParentFolder {
public:
    explicit ParentFolder(const ResolvedName& where) {
        const std::size_t cut = where.path.find_last_of('/');
        const std::string folder = cut == std::string::npos ? std::string(".")
                                   : cut == 0               ? std::string("/")
                                                            : where.path.substr(0, cut);
        last_ = cut == std::string::npos ? where.path : where.path.substr(cut + 1);
        fd_ = openFolder(where, folder);
        if (fd_ < 0)
            code_ = errno;
    }
    ~ParentFolder() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    ParentFolder(const ParentFolder&) = delete;
    ParentFolder& operator=(const ParentFolder&) = delete;

    bool opened() const { return fd_ >= 0 && !last_.empty(); }
    int fd() const { return fd_; }
    const char* last() const { return last_.c_str(); }
    // Why the folder could not be opened, or a name without a last part was given.
    FileError error(bool writing) const {
        return last_.empty() ? FileError::Other : folderError(code_, writing);
    }

private:
    int fd_ = -1;
    int code_ = 0;
    std::string last_;
};

// Links on a removable drive are never followed, in the last part either.
int noFollowOn(const ResolvedName& where) {
    return where.onDrive() ? O_NOFOLLOW : 0;
}

int openResolved(std::string_view name, int flags, bool writing) {
    const ResolvedName where = resolveName(name);
    if (where.leadsNowhere()) {
        setError(where.nowhere);
        return -1;
    }
    if (writing && where.writeProtected) {
        setError(FileError::WriteProtected);
        return -1;
    }
    const ParentFolder parent(where);
    if (!parent.opened()) {
        setError(parent.error(writing));
        return -1;
    }
    // Only plain files are files here: a folder, a device or a pipe named like a lesson is
    // refused at once, and never waited on; on a drive, so is a link.
    struct stat st;
    const int statFlags = where.onDrive() ? AT_SYMLINK_NOFOLLOW : 0;
    if (::fstatat(parent.fd(), parent.last(), &st, statFlags) == 0 && !S_ISREG(st.st_mode)) {
        setError(FileError::Other);
        return -1;
    }
    const int fd = fileStepFails(FileStep::Open)
                       ? -1
                       : ::openat(parent.fd(), parent.last(),
                                  flags | O_CLOEXEC | O_NONBLOCK | noFollowOn(where), 0666);
    if (fd < 0) {
        setError(errno == ELOOP ? FileError::Other : errorFromErrno(errno, writing));
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
        const ssize_t written = fileStepFails(FileStep::Write) ? -1 : ::write(fd, data, size);
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
    const ResolvedName where = resolveName(name);
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
    FileError nowhere = FileError::None;
    const bool found = !matchingEntries(pattern, false, folder, nowhere).empty();
    if (nowhere != FileError::None)
        setError(nowhere);
    return found;
}

std::vector<std::string> findFiles(std::string_view pattern) {
    std::string folder;
    FileError nowhere = FileError::None;
    std::vector<std::string> names = matchingEntries(pattern, true, folder, nowhere);
    if (nowhere != FileError::None)
        setError(nowhere);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lessIgnoringCase(a, b); });
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
    const ResolvedName where = resolveName(name);
    if (where.leadsNowhere()) {
        setError(where.nowhere);
        return false;
    }
    if (where.writeProtected) {
        setError(pathExists(where.path) ? FileError::WriteProtected : FileError::NotFound);
        return false;
    }
    const ParentFolder parent(where);
    if (!parent.opened()) {
        setError(parent.error(true));
        return false;
    }
    // unlinkat removes a link itself, never what it points at.
    if (::unlinkat(parent.fd(), parent.last(), 0) != 0) {
        setErrorFromErrno(true);
        return false;
    }
    return true;
}

bool createFolder(std::string_view name) {
    const ResolvedName where = resolveName(name);
    if (where.leadsNowhere()) {
        setError(where.nowhere);
        return false;
    }
    if (where.writeProtected) {
        setError(pathExists(where.path) ? FileError::AlreadyExists : FileError::WriteProtected);
        return false;
    }
    const ParentFolder parent(where);
    if (!parent.opened()) {
        setError(parent.error(true));
        return false;
    }
    if (fileStepFails(FileStep::Open) || ::mkdirat(parent.fd(), parent.last(), 0777) != 0) {
        setErrorFromErrno(true);
        return false;
    }
    return true;
}

namespace {

// A new file of a name no other file has, made in folder without following a link; its name
// goes to name. A hidden name that no search pattern of the program matches, should it ever
// be left. -1 with errno set when none could be made.
int createUniqueFile(int folder, std::string_view stem, std::string& name) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        unsigned long seed = static_cast<unsigned long>(now.tv_nsec) ^
                             (static_cast<unsigned long>(::getpid()) << 16) ^
                             (static_cast<unsigned long>(attempt) * 7919u);
        name.assign(1, '.');
        name.append(stem);
        name.push_back('.');
        for (int i = 0; i < 6; ++i, seed /= 62)
            name.push_back(kLetters[seed % 62]);
        const int fd = ::openat(folder, name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Moves the finished temporary file to its name: over an existing file, or only when no
// file or folder of that name exists. Renaming without replacing is one step, so nothing
// can slip in between the check and the write; a file system that cannot do it gets a
// hard link, which fails alike when the name is taken. Renaming over a link replaces the
// link, never what it points at.
bool moveIntoPlace(int folder, const std::string& temporary, const char* last, bool replace) {
    if (replace)
        return ::renameat(folder, temporary.c_str(), folder, last) == 0;
    if (::renameat2(folder, temporary.c_str(), folder, last, RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (::linkat(folder, temporary.c_str(), folder, last, 0) != 0)
        return false;
    ::unlinkat(folder, temporary.c_str(), 0);
    return true;
}

bool writeThroughTemporary(std::string_view name, const void* data, std::size_t size,
                           bool replace) {
    if (size > 0 && !data) {
        setError(FileError::Other);
        return false;
    }
    const ResolvedName where = resolveName(name);
    if (where.leadsNowhere()) {
        setError(where.nowhere);
        return false;
    }
    if (where.writeProtected) {
        setError(FileError::WriteProtected);
        return false;
    }
    const ParentFolder parent(where);
    if (!parent.opened()) {
        setError(parent.error(true));
        return false;
    }
    // A folder or anything else but a file or a link of that name stays as it is.
    struct stat st;
    if (replace && ::fstatat(parent.fd(), parent.last(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
        setError(FileError::Other);
        return false;
    }

    std::string temporary;
    const int fd = fileStepFails(FileStep::Open)
                       ? -1
                       : createUniqueFile(parent.fd(), parent.last(), temporary);
    if (fd < 0) {
        setErrorFromErrno(true);
        return false;
    }
    auto fail = [&](int code) {
        ::close(fd);
        ::unlinkat(parent.fd(), temporary.c_str(), 0);
        setError(errorFromErrno(code, true));
        return false;
    };
    if (::fchmod(fd, 0666 & ~currentUmask()) != 0)
        return fail(errno);
    if (!writeAll(fd, static_cast<const char*>(data), size))
        return fail(errno);
    if (fileStepFails(FileStep::Flush) || ::fsync(fd) != 0)
        return fail(errno);
    // The descriptor is gone after close whatever it answers, so a refused close is not
    // retried; the bytes it may not have written make the new file suspect.
    const bool closeRefused = fileStepFails(FileStep::Close);
    const int refusedCode = errno;
    if (::close(fd) != 0 || closeRefused) {
        const int code = closeRefused ? refusedCode : errno;
        ::unlinkat(parent.fd(), temporary.c_str(), 0);
        setError(errorFromErrno(code, true));
        return false;
    }
    if (fileStepFails(FileStep::Rename) ||
        !moveIntoPlace(parent.fd(), temporary, parent.last(), replace)) {
        const int code = errno;
        ::unlinkat(parent.fd(), temporary.c_str(), 0);
        setError(errorFromErrno(code, true));
        return false;
    }
    // Make the rename itself durable. The new file is complete and in place by now, so a folder
    // that cannot be synced leaves the old file or the new one, and the save stands.
    if (!fileStepFails(FileStep::Sync))
        ::fsync(parent.fd());
    return true;
}

} // namespace

bool writeWholeFile(std::string_view name, const void* data, std::size_t size) {
    return writeThroughTemporary(name, data, size, true);
}

bool writeNewFile(std::string_view name, const void* data, std::size_t size) {
    return writeThroughTemporary(name, data, size, false);
}

FileError probeWritable(std::string_view folderName) {
    const ResolvedName where = resolveName(folderName);
    if (where.leadsNowhere())
        return where.nowhere;
    if (where.writeProtected)
        return FileError::WriteProtected;
    const int folder = openFolder(where, where.path);
    if (folder < 0)
        return folderError(errno, true);
    std::string probe;
    const int fd = createUniqueFile(folder, "TEMPTEMP", probe);
    const FileError error = fd < 0 ? errorFromErrno(errno, true) : FileError::None;
    if (fd >= 0) {
        ::close(fd);
        ::unlinkat(folder, probe.c_str(), 0);
    }
    ::close(folder);
    return error;
}

FileError lastFileError() {
    return lastError;
}

void clearFileError() {
    lastError = FileError::None;
}

} // namespace lorvenna

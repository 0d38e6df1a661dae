// Files and names: the program's byte-exact file layer over the host's files.
//
// On a removable drive nothing is reached through a link: a link in any folder part below the
// drive's root, or as the file itself, is refused like a damaged file, and so is anything but
// a plain file where a file is expected.
//
// Names are formed as the program's users see them ("LSNS\01-02.LSN", "E:\LORVENNA\KEY.GRD").
// hostPath maps them to the host: '\' becomes '/', a relative name is relative to the working
// folder, "X:\" is the root of drive X (see Drives.h), and every component is matched
// case-insensitively against what exists (an exact match first). Components that do not
// exist yet keep the name as formed. ".." never leads above the working folder or the drive's
// root, and a name starting with '\' starts at the working folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

struct FileHandle {
    int fd = -1;
    bool operator==(const FileHandle&) const = default;
};

// The invalid handle: every operation accepts it and treats it as failure.
inline constexpr FileHandle kInvalidFile{};

// Why the last failing operation of this layer failed.
enum class FileError { None, NotFound, WriteProtected, NotReady, AlreadyExists, Other };

void setWorkingFolder(const std::string& hostFolder);
const std::string& workingFolder();
std::string hostPath(std::string_view name);

FileHandle openForReading(std::string_view name);
FileHandle openForWriting(std::string_view name);   // an existing file only
FileHandle createForWriting(std::string_view name); // creates or truncates
void closeFile(FileHandle& file);                   // leaves the invalid handle behind
bool isInvalid(FileHandle file);

// True if at least one file matches the name, which may hold '*' and '?' in its last part.
bool fileExists(std::string_view pattern);
// The names (last part only) of the files matching the pattern, sorted case-insensitively.
std::vector<std::string> findFiles(std::string_view pattern);

long filePosition(FileHandle file); // -1 on failure
bool seekFile(FileHandle file, long offset);
bool seekToEnd(FileHandle file);
long readBytes(FileHandle file, void* buffer, long count);        // bytes read, -1 on failure
long writeBytes(FileHandle file, const void* buffer, long count); // bytes written, -1 on failure

bool deleteFile(std::string_view name);
// Creates one folder; fails with FileError::AlreadyExists when it is there.
bool createFolder(std::string_view name);

// Writes a whole file through a temporary file in the same folder renamed into place, so a
// full or pulled disk leaves either the old file or the new one, never half of one.
bool writeWholeFile(std::string_view name, const void* data, std::size_t size);
// The same for a file that must not exist yet: fails with FileError::AlreadyExists, and
// leaves everything as it was, when a file or folder of that name is there.
bool writeNewFile(std::string_view name, const void* data, std::size_t size);

// Whether a file can be made in the folder: a new file of a unique name is made there
// exclusively, without following a link, and removed at once. None when it could be.
FileError probeWritable(std::string_view folderName);

FileError lastFileError();
void clearFileError();

} // namespace lorvenna

// Names as the program's users see them ("LSNS\01-02.LSN", "E:\LORVENNA\KEY.GRD") mapped onto
// host paths: '\' becomes '/', a relative name lies below the working folder, "X:\" is the
// root of drive X, every part is matched case-insensitively against what exists (an exact
// match first), and ".." never climbs above the folder or drive root the name starts from.
#pragma once

#include "platform/FileSystem.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

// Where a name leads: a host path, or nowhere (a drive letter without a drive, or a drive
// without a medium) together with the reason every operation on it fails.
struct ResolvedName {
    std::string path;
    FileError nowhere = FileError::None;
    bool writeProtected = false; // on a drive whose medium refuses changes
    // The host folder of the drive's root when the name is on a removable drive: nothing
    // below it is reached through a link.
    std::string driveRoot;
    bool leadsNowhere() const { return nowhere != FileError::None; }
    bool onDrive() const { return !driveRoot.empty(); }
};

ResolvedName resolveName(std::string_view name);

// The entries of the pattern's folder that match its last part ('*' and '?', letters ignoring
// case), unsorted; folderPath receives the folder's host path, nowhere why there is none.
std::vector<std::string> matchingEntries(std::string_view pattern, bool filesOnly,
                                         std::string& folderPath, FileError& nowhere);

// How many times the entries of a folder have been read since the program started: what a
// lookup of many names costs, counted where the clock would not say it.
std::size_t folderReads();

std::string joinPath(const std::string& folder, std::string_view name);
bool pathExists(const std::string& path);
bool isDirectory(const std::string& path);
bool isRegularFile(const std::string& path);
// The same without following a link in the last part: a link is no file.
bool isRegularFileItself(const std::string& path);
// Opens the folder at path, which lies at or below root, without following a link in any
// part below root (root itself may be one). -1 with errno set (ELOOP, ENOTDIR, ENOENT...).
int openFolderBelow(const std::string& root, const std::string& path);

} // namespace lorvenna

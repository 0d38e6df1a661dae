// A temporary working folder with LSNS, BMPS and HELP, made the current working folder of
// the program for the life of the object; also temporary key disks through LORVENNA_DRIVES.
#pragma once

#include <string>
#include <string_view>

namespace lorvenna {

class WorkFolder {
public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::string& path() const { return path_; }
    // Writes a file relative to the folder ('/' separated); with crlf every lone "\n" of
    // the text becomes "\r\n", as in real lesson files.
    void write(std::string_view relative, std::string_view text, bool crlf = true) const;
    std::string read(std::string_view relative) const;
    bool exists(std::string_view relative) const;
    // A small valid picture file in BMPS, so that start-up finds one.
    void addPicture(std::string_view name = "BLANK") const;

    // Makes a drive folder under this folder and lists it (with the others made so far) in
    // LORVENNA_DRIVES. withMedium false lists the drive without creating its folder.
    std::string addDrive(char letter, bool withMedium = true);
    // Lists just the drives of these letters, each at its folder "drive-X" whether or not
    // that exists (an empty text: no removable drive at all).
    void listDrives(std::string_view letters) const;

private:
    std::string path_;
    std::string drives_;
};

// Converts "\n" to "\r\n" (a "\r\n" already there is kept).
std::string crlf(std::string_view text);

} // namespace lorvenna

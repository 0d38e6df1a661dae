// Temporary working folders and drives for the tests.
#include "tests/support/WorkFolder.h"

#include "platform/FileSystem.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace lorvenna {

namespace fsys = std::filesystem;

std::string crlf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

WorkFolder::WorkFolder() {
    std::string templ = (fsys::temp_directory_path() / "lorvenna-XXXXXX").string();
    char* made = mkdtemp(templ.data());
    path_ = made ? made : templ;
    for (const char* sub : {"LSNS", "BMPS", "HELP"})
        fsys::create_directories(fsys::path(path_) / sub);
    setWorkingFolder(path_);
    // No removable drive until the test adds one; the host's own media never count.
    setenv("LORVENNA_DRIVES", "", 1);
}

WorkFolder::~WorkFolder() {
    unsetenv("LORVENNA_DRIVES");
    std::error_code ec;
    // Read-only folders made by a test must not stop the clean-up.
    for (auto& entry : fsys::recursive_directory_iterator(path_, ec))
        fsys::permissions(entry.path(), fsys::perms::owner_all, fsys::perm_options::add, ec);
    fsys::remove_all(path_, ec);
}

void WorkFolder::write(std::string_view relative, std::string_view text, bool convert) const {
    fsys::path p = fsys::path(path_) / fsys::path(std::string(relative));
    fsys::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    const std::string bytes = convert ? crlf(text) : std::string(text);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string WorkFolder::read(std::string_view relative) const {
    std::ifstream in(fsys::path(path_) / fsys::path(std::string(relative)), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool WorkFolder::exists(std::string_view relative) const {
    return fsys::exists(fsys::path(path_) / fsys::path(std::string(relative)));
}

void WorkFolder::addPicture(std::string_view name) const {
    // A 1 x 1 picture of 24 bits: file header, info header and one padded pixel row.
    static const unsigned char bmp[] = {
        'B', 'M', 58,   0,    0, 0, 0, 0, 0,  0, 54, 0, 0, 0, 40,  0,   0,   0, 1,    0,
        0,   0,   1,    0,    0, 0, 1, 0, 24, 0, 0,  0, 0, 0, 4,   0,   0,   0, 0x13, 0x0B,
        0,   0,   0x13, 0x0B, 0, 0, 0, 0, 0,  0, 0,  0, 0, 0, 255, 255, 255, 0};
    write("BMPS/" + std::string(name) + ".BMP",
          std::string_view(reinterpret_cast<const char*>(bmp), sizeof bmp), false);
}

std::string WorkFolder::addDrive(char letter, bool withMedium) {
    const std::string root = path_ + "/drive-" + std::string(1, letter);
    if (withMedium)
        fsys::create_directories(root);
    if (!drives_.empty())
        drives_ += ';';
    drives_ += std::string(1, letter) + "=" + root;
    setenv("LORVENNA_DRIVES", drives_.c_str(), 1);
    return root;
}

void WorkFolder::listDrives(std::string_view letters) const {
    std::string drives;
    for (char letter : letters)
        drives +=
            (drives.empty() ? "" : ";") + std::string(1, letter) + "=" + path_ + "/drive-" + letter;
    setenv("LORVENNA_DRIVES", drives.c_str(), 1);
}

} // namespace lorvenna

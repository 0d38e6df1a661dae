// A tool's output file written whole through an exclusively made new file.
#include "tools/grades/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvenna {

bool writeOutputFile(const std::string& name, const std::string& text) {
    // A name that no one can have prepared: O_EXCL fails on anything already there, a link
    // to elsewhere included; a clash with a leftover only moves on to the next number.
    std::string temporary;
    int fd = -1;
    for (unsigned attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary =
            name + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".part";
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    const bool whole = written == text.size() && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !whole || std::rename(temporary.c_str(), name.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace lorvenna

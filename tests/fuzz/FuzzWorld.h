// What every fuzz target runs in: Qt on its offscreen platform, a temporary working folder
// that is the program's working folder, drive E as the key disk, a main window stand-in and
// message boxes answered without showing. Made on first use and kept for the whole run.
#pragma once

#include "tests/support/WorkFolder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lorvenna {

class FuzzWorld {
public:
    // The world, with the session reset for the next input: drive E is the key drive, no
    // lesson is open and the main window stand-in is in place.
    static FuzzWorld& next();

    WorkFolder& folder() { return *folder_; }
    // The key disk's folder on the host.
    const std::string& drive() const { return drive_; }

private:
    FuzzWorld();
    WorkFolder* folder_;
    std::string drive_;
};

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A property the program promises failed for this input: say which and stop, so the fuzzer
// keeps the input.
[[noreturn]] void fuzzFailure(const char* what);

} // namespace lorvenna

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::lorvenna::fuzzFailure(#condition);                                                   \
    } while (false)

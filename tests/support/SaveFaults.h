// Saves under fire: a save run again and again with each step of the file layer it takes
// failing in turn, as a full disk or a pulled stick would make it fail.
#pragma once

#include "platform/FileFaults.h"

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

namespace lorvenna {

struct FileFault {
    FileStep step = FileStep::Open;
    int n = 0; // the n-th step of its kind, from 1
    int code = 0;
};

// "write 2 (No space left on device)", for test traces.
std::string describe(const FileFault& fault);

// Runs prepare() and save() once without a failure to count the steps the save takes; then,
// for every kind of step and every n up to that count, prepare(), save() with the n-th step
// of that kind failing with code, and check(fault). Returns the faults injected, so that a
// caller can make sure the save took the steps it expects to have failed.
std::vector<FileFault> failEachFileStep(const std::function<void()>& prepare,
                                        const std::function<void()>& save,
                                        const std::function<void(const FileFault&)>& check,
                                        int code = EIO);

// How many of the faults hit a step of that kind.
int faultsAt(const std::vector<FileFault>& faults, FileStep step);

// The hidden files (name starting with '.') in a host folder: what a save would leave
// behind of its temporary file.
std::vector<std::string> hiddenFilesIn(const std::string& hostFolder);

} // namespace lorvenna

// Failures on demand for the file layer's steps (test configuration only).
#include "platform/FileFaults.h"

#ifdef LORVENNA_FILE_FAULTS

#include <array>
#include <cerrno>

namespace lorvenna {

namespace {

struct Armed {
    FileStep step = FileStep::Open;
    int n = 0;
    int code = 0;
    bool happened = false;
    std::array<int, kFileStepKinds> taken{};
};

Armed armed;

int index(FileStep step) {
    return static_cast<int>(step);
}

} // namespace

void failFileStep(FileStep step, int n, int code) {
    armed = Armed{step, n, code, false, {}};
}

void clearFileFaults() {
    armed = Armed{};
}

int fileStepsTaken(FileStep step) {
    return armed.taken[index(step)];
}

bool fileFaultHappened() {
    return armed.happened;
}

bool fileStepFails(FileStep step) {
    const int taken = ++armed.taken[index(step)];
    if (step != armed.step || taken != armed.n)
        return false;
    armed.happened = true;
    errno = armed.code;
    return true;
}

} // namespace lorvenna

#endif

// Saves under fire: every step of a save failing in turn.
#include "tests/support/SaveFaults.h"

#include <array>
#include <cstring>
#include <filesystem>

namespace lorvenna {

namespace {

constexpr std::array<const char*, kFileStepKinds> kStepNames = {"open", "write",  "flush",
                                                                "sync", "rename", "close"};
constexpr std::array<FileStep, kFileStepKinds> kSteps = {FileStep::Open,   FileStep::Write,
                                                         FileStep::Flush,  FileStep::Sync,
                                                         FileStep::Rename, FileStep::Close};

} // namespace

std::string describe(const FileFault& fault) {
    return std::string(kStepNames[static_cast<int>(fault.step)]) + " " + std::to_string(fault.n) +
           " (" + std::strerror(fault.code) + ")";
}

std::vector<FileFault> failEachFileStep(const std::function<void()>& prepare,
                                        const std::function<void()>& save,
                                        const std::function<void(const FileFault&)>& check,
                                        int code) {
    prepare();
    failFileStep(FileStep::Open, 0, code);
    save();
    std::array<int, kFileStepKinds> taken{};
    for (FileStep step : kSteps)
        taken[static_cast<int>(step)] = fileStepsTaken(step);
    clearFileFaults();

    std::vector<FileFault> injected;
    for (FileStep step : kSteps) {
        for (int n = 1; n <= taken[static_cast<int>(step)]; ++n) {
            const FileFault fault{step, n, code};
            prepare();
            failFileStep(step, n, code);
            save();
            const bool happened = fileFaultHappened();
            clearFileFaults();
            // A save that takes another path after a failure may stop short of the n-th step.
            if (happened)
                injected.push_back(fault);
            check(fault);
        }
    }
    return injected;
}

int faultsAt(const std::vector<FileFault>& faults, FileStep step) {
    int count = 0;
    for (const FileFault& fault : faults)
        count += fault.step == step ? 1 : 0;
    return count;
}

std::vector<std::string> hiddenFilesIn(const std::string& hostFolder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(hostFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.empty() && name[0] == '.')
            names.push_back(name);
    }
    return names;
}

} // namespace lorvenna

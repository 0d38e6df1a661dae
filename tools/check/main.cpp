// lorvenna-check [FOLDER] [--quiet] [--watch]: every error of a course in one run, or again
// each time a file of the course changes.
#include "shell/MainWindow.h"
#include "tools/check/CourseCheck.h"
#include "tools/check/CourseWatch.h"
#include "tools/common/ToolApplication.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace lorvenna {

namespace {

constexpr int kExitClean = 0;
constexpr int kExitErrors = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = "usage: lorvenna-check [FOLDER] [--quiet] [--watch]\n";

int usage() {
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

} // namespace

} // namespace lorvenna

int main(int argc, char** argv) {
    using namespace lorvenna;
    std::string folder = ".";
    bool quiet = false;
    bool folderGiven = false;
    bool watch = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return kExitClean;
        }
        if (std::strcmp(argv[i], "--quiet") == 0) {
            quiet = true;
            continue;
        }
        if (std::strcmp(argv[i], "--watch") == 0) {
            watch = true;
            continue;
        }
        if (argv[i][0] == '-' || folderGiven)
            return usage();
        folder = argv[i];
        folderGiven = true;
    }
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(folder, error);
    if (error || !std::filesystem::is_directory(path, error)) {
        std::fprintf(stderr, "lorvenna-check: %s is no folder\n", folder.c_str());
        return kExitUsage;
    }

    ToolApplication application(argc, argv);
    MainWindow window; // the displays are made in its page area; it is never shown
    if (watch)
        return watchCourse(path.string(), quiet);
    CourseCheck check;
    check.run(path.string());
    for (const Finding& finding : check.findings()) {
        if (!quiet || finding.severity == Severity::Error)
            std::printf("%s\n", formatFinding(finding).c_str());
    }
    if (!quiet)
        std::printf("%s\n", check.summary().c_str());
    return check.errorCount() > 0 ? kExitErrors : kExitClean;
}

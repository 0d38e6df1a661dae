// lorvenna-grades FOLDER... [--csv FILE]: a class's grades from their key disks.
#include "tools/common/ToolApplication.h"
#include "tools/grades/GradeTable.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

constexpr int kExitClean = 0;
constexpr int kExitFindings = 1; // an unregistered disk, an unreadable file, an altered record
constexpr int kExitFailed = 2;   // wrong use, or the table could not be written

constexpr const char* kUsage = "usage: lorvenna-grades FOLDER... [--csv FILE]\n";

int usage() {
    std::fputs(kUsage, stderr);
    return kExitFailed;
}

// The whole table or nothing: written beside the file and renamed into place.
bool writeTable(const std::string& name, const std::string& text) {
    namespace fs = std::filesystem;
    const fs::path target(name);
    fs::path temporary = target;
    temporary += ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error)
        fs::remove(temporary, error);
    return !error;
}

} // namespace

} // namespace lorvenna

int main(int argc, char** argv) {
    using namespace lorvenna;
    std::vector<std::string> folders;
    std::string csv;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return kExitClean;
        }
        if (std::strcmp(argv[i], "--csv") == 0) {
            if (++i == argc || !csv.empty())
                return usage();
            csv = argv[i];
            continue;
        }
        if (argv[i][0] == '-')
            return usage();
        folders.emplace_back(argv[i]);
    }
    if (folders.empty())
        return usage();

    ToolApplication application(argc, argv);
    // "--csv -" puts the table on standard output, and the listing goes to standard error.
    const bool csvToOutput = csv == "-";
    GradeTable table;
    for (const std::string& folder : folders) {
        table.addDisk(folder);
        std::fputs(GradeTable::describe(table.disks().back()).c_str(),
                   csvToOutput ? stderr : stdout);
    }
    if (csvToOutput)
        std::fputs(table.csv().c_str(), stdout);
    else if (!csv.empty() && !writeTable(csv, table.csv())) {
        std::fprintf(stderr, "lorvenna-grades: cannot write %s\n", csv.c_str());
        return kExitFailed;
    }
    return table.clean() ? kExitClean : kExitFindings;
}

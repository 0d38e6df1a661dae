// lorvenna-grades FOLDER... [--csv FILE] [--summary FILE] [--report FILE.html]
// [--course FOLDER]: a class's grades from their key disks.
#include "tools/common/ToolApplication.h"
#include "tools/grades/ClassReport.h"
#include "tools/grades/ClassSummary.h"
#include "tools/grades/GradeTable.h"
#include "tools/grades/OutputFile.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

constexpr int kExitClean = 0;
constexpr int kExitFindings = 1; // a disk unregistered or missing, a row that is not valid
constexpr int kExitFailed = 2;   // wrong use, or an output could not be written

constexpr const char* kUsage = "usage: lorvenna-grades FOLDER... [--csv FILE] [--summary FILE] "
                                "[--report FILE.html] [--course FOLDER]\n";

int usage() {
    std::fputs(kUsage, stderr);
    return kExitFailed;
}

// "-" is standard output, which only one of the tables may take.
bool writeOutput(const std::string& name, const std::string& text) {
    if (name == "-")
        return std::fputs(text.c_str(), stdout) >= 0;
    if (writeOutputFile(name, text))
        return true;
    std::fprintf(stderr, "lorvenna-grades: cannot write %s\n", name.c_str());
    return false;
}

} // namespace

} // namespace lorvenna

int main(int argc, char** argv) {
    using namespace lorvenna;
    std::vector<std::string> folders;
    std::string csv;
    std::string summary;
    std::string report;
    std::string course;
    const std::pair<const char*, std::string*> options[] = {
        {"--csv", &csv}, {"--summary", &summary}, {"--report", &report}, {"--course", &course}};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return kExitClean;
        }
        std::string* value = nullptr;
        for (const auto& [option, target] : options) {
            if (std::strcmp(argv[i], option) == 0)
                value = target;
        }
        if (value) {
            if (++i == argc || !value->empty())
                return usage();
            *value = argv[i];
            continue;
        }
        if (argv[i][0] == '-')
            return usage();
        folders.emplace_back(argv[i]);
    }
    if (folders.empty() || (csv == "-" && summary == "-") || report == "-")
        return usage();

    ToolApplication application(argc, argv);
    // A table on standard output leaves it to the table alone: the listing goes to standard
    // error.
    FILE* listing = csv == "-" || summary == "-" ? stderr : stdout;
    GradeTable table;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        table.addDisk(folders[i]);
        std::fputs(table.describe(i).c_str(), listing);
    }
    std::fprintf(stderr, "lorvenna-grades: %s\n", table.countLine().c_str());

    std::map<LessonNumbers, std::string> titles;
    if (!course.empty()) {
        std::string problem;
        titles = readCourseTitles(course, problem);
        if (!problem.empty()) {
            std::fprintf(stderr, "lorvenna-grades: --course: %s\n", problem.c_str());
            return kExitFailed;
        }
    }
    const ClassSummary classSummary(table, titles);
    bool written = true;
    if (!csv.empty())
        written = writeOutput(csv, table.csv()) && written;
    if (!summary.empty())
        written = writeOutput(summary, classSummary.csv()) && written;
    if (!report.empty())
        written = writeOutput(report, classReport(table, classSummary)) && written;
    if (!written)
        return kExitFailed;
    return table.clean() ? kExitClean : kExitFindings;
}

// The player's command line, and the course folder chosen in a folder dialog before start-up.
#include "shell/CourseChoice.h"

#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QSettings>
#include <QUrl>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace lorvenna {

namespace {

namespace fsys = std::filesystem;

constexpr std::string_view kChooseCourse = "--choose-course";
constexpr std::string_view kPreview = "--preview";
constexpr const char* kCourseFolderKey = "courseFolder";
constexpr int kExitHelp = 0;
constexpr int kExitUsage = 2; // the usual code for a command line that was not understood

std::string canonicalFolder(const std::string& folder) {
    std::error_code error;
    const fsys::path canonical = fsys::canonical(folder, error);
    if (error || !fsys::is_directory(canonical, error))
        return {};
    return canonical.string();
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    int operands = 0; // of --preview: the lesson file, then the page
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            line.request = CommandLineRequest::Help;
            return line;
        }
        const bool previewing = line.request == CommandLineRequest::Preview;
        if (argument == kChooseCourse && !previewing) {
            line.request = CommandLineRequest::ChooseCourse;
            continue;
        }
        if (argument == kPreview && line.request == CommandLineRequest::Play) {
            line.request = CommandLineRequest::Preview;
            continue;
        }
        if (previewing && operands == 0 && !argument.empty() && argument[0] != '-') {
            line.lessonFile = argument;
            ++operands;
            continue;
        }
        if (previewing && operands == 1) {
            int page = 0;
            const auto [end, error] =
                std::from_chars(argument.data(), argument.data() + argument.size(), page);
            if (error == std::errc() && end == argument.data() + argument.size() && page >= 1) {
                line.page = page;
                ++operands;
                continue;
            }
        }
        line.request = CommandLineRequest::Unknown;
        line.unknown = argument;
        return line;
    }
    return line;
}

std::string usageText() {
    return "Usage: lorvenna [--choose-course]\n"
           "       lorvenna --preview [LESSON [PAGE]]\n"
           "Plays the course in the current folder (its LSNS, BMPS and HELP folders).\n"
           "\n"
           "  --choose-course  ask for the course folder first (the sample course the first\n"
           "                   time, the folder chosen last after that) and play it as if\n"
           "                   started there\n"
           "  --preview        open LESSON (a file in a course's LSNS folder, such as\n"
           "                   LSNS/02-01.LSN) at PAGE (default 1) for its author: the page\n"
           "                   follows the file each time it is saved, problems are shown in\n"
           "                   place, and nothing is written; without LESSON, ask for it\n"
           "  -h, --help       show this text\n";
}

int answerCommandLine(const CommandLine& line) {
    if (line.request == CommandLineRequest::Unknown) {
        std::fprintf(stderr, "lorvenna: unknown option '%s'\n\n%s", line.unknown.c_str(),
                     usageText().c_str());
        return kExitUsage;
    }
    std::fputs(usageText().c_str(), stdout);
    return kExitHelp;
}

std::string installedSampleCourse(const std::string& programDir) {
    return canonicalFolder(
        (fsys::path(programDir) / ".." / "share" / "lorvenna" / "courseware").string());
}

bool chooseCourse(QSettings& settings, const std::string& sampleCourse, const FolderQuestion& ask) {
    std::string start = canonicalFolder(settings.value(kCourseFolderKey).toString().toStdString());
    if (start.empty())
        start = canonicalFolder(sampleCourse);
    if (start.empty())
        start = QDir::homePath().toStdString();

    const std::string chosen = ask(start);
    if (chosen.empty())
        return false;
    std::error_code error;
    fsys::current_path(chosen, error);
    if (error) {
        messageBox("Cannot open the course folder.", chosen + ": " + error.message());
        return false;
    }
    settings.setValue(kCourseFolderKey, QString::fromStdString(chosen));
    settings.sync();
    return true;
}

bool chooseCourseWithDialog() {
    QSettings settings("lorvenna", "lorvenna");
    const std::string sample =
        installedSampleCourse(QCoreApplication::applicationDirPath().toStdString());
    return chooseCourse(settings, sample, [&sample](const std::string& start) {
        QFileDialog dialog(nullptr, "Choose the course folder", QString::fromStdString(start));
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        // The toolkit's own dialog lists the sample course beside the usual places; a
        // desktop's dialog still opens on it the first time.
        if (!sample.empty()) {
            QList<QUrl> places = dialog.sidebarUrls();
            places.append(QUrl::fromLocalFile(QString::fromStdString(sample)));
            dialog.setSidebarUrls(places);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::string();
        return dialog.selectedFiles().front().toStdString();
    });
}

} // namespace lorvenna

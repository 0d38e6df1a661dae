// lorvenna --preview [LESSON [PAGE]]: the lesson file checked and the preview run on it.
#include "preview/PreviewRun.h"

#include "items/Lesson.h"
#include "platform/FileSystem.h"
#include "platform/IgnoreCase.h"
#include "platform/MessageBox.h"
#include "preview/Preview.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

#include <cstdio>
#include <filesystem>

namespace lorvenna {

namespace fs = std::filesystem;

namespace {

std::string askForLessonFile() {
    const QString chosen =
        QFileDialog::getOpenFileName(nullptr, QStringLiteral("Preview a lesson"), QDir::homePath(),
                                     QStringLiteral("Lesson files (*.LSN *.lsn);;All files (*)"));
    return chosen.toStdString();
}

} // namespace

int runPreview(const std::string& lessonFile, int page) {
    constexpr int kExitUsage = 2;
    const std::string asked = lessonFile.empty() ? askForLessonFile() : lessonFile;
    if (asked.empty())
        return 0;
    std::error_code error;
    const fs::path file = fs::absolute(asked, error);
    if (error || !fs::is_regular_file(file, error)) {
        std::fprintf(stderr, "lorvenna: %s is no lesson file\n", asked.c_str());
        messageBox("No lesson file to preview.", asked + " is no file.");
        return kExitUsage;
    }
    const fs::path lessons = file.parent_path();
    if (!equalsIgnoringCase(lessons.filename().string(), "LSNS")) {
        std::fprintf(stderr, "lorvenna: %s is not in the LSNS folder of a course\n", asked.c_str());
        messageBox("No lesson file to preview.", asked + " is not in the LSNS folder of a course.");
        return kExitUsage;
    }
    // The player names its lesson file in 80 characters, "LSNS\" included.
    constexpr std::size_t kLongestName = sizeof(Lesson::lessonPath) - 6;
    if (file.filename().string().size() > kLongestName) {
        std::fprintf(stderr, "lorvenna: the name of %s is too long for a lesson file\n",
                     asked.c_str());
        messageBox("No lesson file to preview.",
                   asked + ": the name is too long for a lesson file.");
        return kExitUsage;
    }
    const std::string course = lessons.parent_path().string();
    setWorkingFolder(course);
    Preview preview(course, file.filename().string(), page);
    if (!preview.start())
        return 0;
    QCoreApplication::exec();
    return 0;
}

} // namespace lorvenna

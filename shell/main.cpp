// Program entry: start-up, then the controller runs the session from state 0.
#include "preview/PreviewRun.h"
#include "shell/CourseChoice.h"
#include "shell/StartUp.h"

#include <QApplication>

#include <clocale>

int main(int argc, char** argv) {
    // Read before the toolkit starts, so that --help works without a screen.
    const lorvenna::CommandLine line = lorvenna::parseCommandLine(argc, argv);
    if (line.request == lorvenna::CommandLineRequest::Help ||
        line.request == lorvenna::CommandLineRequest::Unknown)
        return lorvenna::answerCommandLine(line);

    QApplication app(argc, argv);
    // The toolkit takes the desktop's language for the C library too; lesson files, grade
    // lines and score texts read and write numbers with a decimal point whatever it is.
    std::setlocale(LC_NUMERIC, "C");
    // The program ends only through its fatal exit, never because a window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    if (line.request == lorvenna::CommandLineRequest::Preview)
        return lorvenna::runPreview(line.lessonFile, line.page);
    if (line.request == lorvenna::CommandLineRequest::ChooseCourse &&
        !lorvenna::chooseCourseWithDialog())
        return 0;
    return lorvenna::runProgram();
}

// The set-up every command-line tool shares.
#include "tools/common/ToolApplication.h"

#include "platform/ProgramResources.h"

#include <QApplication>

#include <clocale>
#include <cstdio>

namespace lorvenna {

namespace {

// The toolkit's notes on how it found the platform are no business of the tool's reader;
// its warnings and errors still go to the error output.
void toolkitMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg || message.startsWith("QStandardPaths:"))
        return;
    // The offscreen platform's note on the never shown main window, once an event loop runs.
    if (message.contains("propagateSizeHints"))
        return;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

ToolApplication::ToolApplication(int& argc, char** argv) {
    // The tools run where no screen is, and never show a window where one is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(toolkitMessage);
    application_ = std::make_unique<QApplication>(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    loadProgramResources();
}

ToolApplication::~ToolApplication() = default;

} // namespace lorvenna

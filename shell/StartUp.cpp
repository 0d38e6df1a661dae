// Start-up: the checks of the working folder, the main window, and the program's run.
#include "shell/StartUp.h"

#include "items/RunObjects.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/ProgramResources.h"
#include "platform/Random.h"
#include "platform/ScreenScale.h"
#include "shell/MainWindow.h"
#include "shell/PageChoiceStore.h"

#include <QCoreApplication>
#include <QIcon>
#include <QScreen>
#include <QSettings>

#include <ctime>
#include <filesystem>

namespace lorvenna {

namespace {

constexpr const char* kReinstall = "Reinstall, or change Working Directory in shortcut.";

} // namespace

bool checkWorkingFolder() {
    if (!fileExists("LSNS\\*.LSN")) {
        messageBox("No Lesson files in working directory.", kReinstall);
        return false;
    }
    if (!fileExists("BMPS\\*.BMP")) {
        messageBox("No image (BMP) files in working directory.", kReinstall);
        return false;
    }
    return true;
}

std::unique_ptr<MainWindow> startUp(ControllerSteps steps) {
    if (!checkWorkingFolder())
        return nullptr;
    ScreenScale& scale = screenScale();
    scale = ScreenScale{};

    loadProgramResources();
    auto window = std::make_unique<MainWindow>(std::move(steps));
    window->setWindowIcon(programIcon());
    if (const QScreen* screen = window->screen()) {
        // Maximised is a wish the window manager grants; without one the window still
        // covers the screen's free area, and the page grows with it.
        window->setGeometry(screen->availableGeometry());
    }
    window->showMaximized();
    window->setFocus(Qt::OtherFocusReason);

    seedRandom(static_cast<unsigned>(std::time(nullptr)));
    return window;
}

int runProgram() {
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    setWorkingFolder(error ? std::string(".") : here.string());

    std::unique_ptr<MainWindow> window = startUp();
    if (!window)
        return 0;
    // The page's size and full screen as the user left them with this course.
    const std::string course = workingFolder();
    {
        QSettings settings("lorvenna", "lorvenna");
        window->applyPageChoice(loadPageChoice(settings, course));
    }
    window->setPageChoiceHandler([course](const PageChoice& choice) {
        QSettings settings("lorvenna", "lorvenna");
        savePageChoice(settings, course, choice);
    });
    window->postState(StateCode::StartDialog);
    QCoreApplication::exec();
    return 0;
}

} // namespace lorvenna

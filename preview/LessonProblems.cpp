// The problems of one lesson, found aside from the page on screen.
#include "preview/LessonProblems.h"

#include "items/AppServices.h"
#include "items/RunObjects.h"
#include "platform/QtChildWindow.h"
#include "platform/ScreenScale.h"
#include "shell/DisplayWindowProc.h"

#include <QWidget>

namespace lorvenna {

namespace {

// The main window's services for the check: its pictures, and display windows on a page of
// their own that is never shown. Whatever the check's answers ask for (a page turn, the
// feedback panel, the pause timer, the status text) goes nowhere.
class AsideServices final : public SilentServices {
public:
    explicit AsideServices(AppServices& window) : window_(window) {
        const ScreenScale& scale = screenScale();
        page_.resize(scale.originX + scaleX(kPageWidth), scale.originY + scaleY(kPageHeight));
    }

    const Picture& picture(PictureId id) override { return window_.picture(id); }
    std::unique_ptr<ChildWindow> createDisplayWindow(Display*, int id, const Rect& rect) override {
        return createQtChildWindow(&page_, id, rect, displayWindowProc(), false);
    }

private:
    AppServices& window_;
    QWidget page_;
};

// The lesson and the page on screen set aside, live, while the check reads and plays the
// lesson in the run's own objects, and put back afterwards. The check's page is torn down
// before they come back; the control ids go on counting up.
class RunSetAside {
public:
    RunSetAside() : lesson_(std::move(lesson())), page_(std::move(pageOnScreen())) {
        lesson() = Lesson{};
        lesson().lessonSelectionRow = lesson_.lessonSelectionRow;
        pageOnScreen() = PageOnScreen{};
        pageOnScreen().nextControlId = page_.nextControlId;
        pageOnScreen().statusRect = page_.statusRect;
    }
    ~RunSetAside() {
        const std::int16_t nextId = pageOnScreen().nextControlId;
        lesson() = std::move(lesson_);
        pageOnScreen() = std::move(page_);
        pageOnScreen().nextControlId = nextId;
    }
    RunSetAside(const RunSetAside&) = delete;
    RunSetAside& operator=(const RunSetAside&) = delete;

private:
    Lesson lesson_;
    PageOnScreen page_;
};

std::string counted(int count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

} // namespace

LessonProblems checkLessonAside(const std::string& folder, const std::string& fileName) {
    AppServices& window = appServices();
    const bool installed = appServicesInstalled();
    AsideServices aside(window);
    CourseCheck check;
    {
        RunSetAside setAside;
        installAppServices(&aside);
        check.runLesson(folder, fileName);
        installAppServices(installed ? &window : nullptr);
    }
    return {check.findings(), check.errorCount(), check.warningCount()};
}

std::string problemCount(const LessonProblems& problems) {
    if (problems.findings.empty())
        return "no problems";
    if (problems.warnings == 0)
        return counted(problems.errors, "error");
    if (problems.errors == 0)
        return counted(problems.warnings, "warning");
    return counted(problems.errors, "error") + ", " + counted(problems.warnings, "warning");
}

} // namespace lorvenna

// A page of a lesson rendered as the student first sees it.
#include "tools/shot/PageShot.h"

#include "items/Drawing.h"
#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "lesson/PageBuilder.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/ScreenScale.h"
#include "shell/MainWindow.h"
#include "tools/check/SelfPlay.h"
#include "tools/common/SilentBoxes.h"

#include <filesystem>

namespace lorvenna {

bool PageShot::fail(std::string reason) {
    error_ = std::move(reason);
    image_ = QImage();
    return false;
}

bool PageShot::render(const std::string& lessonFile, int page, bool answer, bool right,
                      double scale) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    const fs::path file = fs::absolute(lessonFile, ignored);
    if (!fs::is_regular_file(file, ignored))
        return fail("No lesson file " + lessonFile);
    // A lesson in its course's LSNS folder finds the course's pictures; one elsewhere is
    // read from its own folder.
    const fs::path folder = file.parent_path();
    const bool inCourse = equalsIgnoringCase(folder.filename().string(), "LSNS");
    setWorkingFolder((inCourse ? folder.parent_path() : folder).string());
    setText(lesson().lessonPath, (inCourse ? "LSNS\\" : "") + file.filename().string());

    // Nothing the player would say in a box is shown; the first thing said is the reason.
    SilentBoxes boxes;
    MainWindow window;
    const QSize size(static_cast<int>(kPageWidth * scale), static_cast<int>(kPageHeight * scale));
    window.resize(size);
    window.setFixedPageScale(scale);
    if (const Status index = readLessonIndex(); !index)
        return fail(index.message());
    if (page < 1 || page > lesson().pageCount) {
        lessonTeardown();
        return fail("The lesson has no page " + std::to_string(page));
    }
    if (const Status built = buildPage(page); !built) {
        lessonTeardown();
        return fail(built.message());
    }
    repaintAllDisplays();

    if (answer) {
        SelfPlay play;
        if (!pageOnScreen().answer.questionActive()) {
            lessonTeardown();
            return fail("Page " + std::to_string(page) + " asks no question");
        }
        const PlayedQuestion played = play.answerCurrentQuestion(right);
        if (!pageOnScreen().answerPauseRunning()) {
            lessonTeardown();
            return fail("The question " + played.title + " could not be answered" +
                        (played.detail.empty() ? "" : ": " + played.detail));
        }
        image_ = window.grab(QRect(QPoint(0, 0), size)).toImage();
    } else {
        image_ = window.grab(QRect(QPoint(0, 0), size)).toImage();
    }
    lessonTeardown();
    return true;
}

} // namespace lorvenna

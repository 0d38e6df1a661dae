// The lessons the benchmarks play, written by the bench itself.
#include "bench/BenchLessons.h"

#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "lesson/PageBuilder.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/ScreenScale.h"
#include "shell/MainWindow.h"

#include <QCoreApplication>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace lorvenna {
namespace {

constexpr const char* kWords =
    "the quick brown fox jumps over the lazy dog while the student reads every line of it";

struct Writer {
    std::string text;
    void line(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        char buffer[256];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(buffer, sizeof buffer, format, arguments);
        va_end(arguments);
        text += buffer;
        text += "\r\n";
    }
};

// A page of one display, named by the page's number.
void onePage(Writer& w, int page) {
    w.line("PAGE %d", page);
    w.line("DISPLAY D%d", page);
}

void oneTextBlock(Writer& w, const char* prefix, int page) {
    w.line("DISPLAY %s%d 10 40 780 200 A", prefix, page);
    w.line("ITEM TEXT T");
    w.line("LOC 10 10");
    w.line("@Page %d of the lesson.", page);
    w.line("}");
    w.line("END DISPLAY");
}

std::string oneItemPages(int pages) {
    Writer w;
    w.line("Lesson 01-01 Many pages of one item");
    w.line("TOTAL 0");
    for (int p = 1; p <= pages; ++p)
        onePage(w, p);
    w.line("END PAGES");
    for (int p = 1; p <= pages; ++p)
        oneTextBlock(w, "D", p);
    w.line("END LESSON");
    return w.text;
}

// Display d of a busy page: 21 wrapped TEXT items, 6 LABEL items, 3 BUTTON and 3 EDIT items.
void busyBlock(Writer& w, int page, int d) {
    w.line("DISPLAY P%dD%d %d %d 256 164 A", page, d, 10 + (d % 3) * 262, 40 + (d / 3) * 170);
    for (int k = 0; k < 21; ++k) {
        w.line("ITEM TEXT T%d", k);
        w.line("LOC %d %d", 4 + (k % 3) * 30, 4 + k * 7);
        w.line("@Text %d of display %d: %s.", k, d, kWords);
        w.line("}");
    }
    for (int k = 0; k < 6; ++k) {
        w.line("ITEM LABEL L%d", k);
        w.line("LOC %d 120", 20 + k * 35);
        w.line("LINECOLOR %d", k);
        w.line("SHAPE 0 20 L");
        w.line("SHAPE 90 15 L");
        w.line("@Part %d", k);
        w.line("}");
    }
    for (int k = 0; k < 3; ++k) {
        w.line("ITEM BUTTON B%d", k);
        w.line("LOC %d 136", 4 + k * 84);
        w.line("SIZE 80 24");
        w.line("@Answer %d", k);
        w.line("}");
    }
    for (int k = 0; k < 3; ++k) {
        w.line("ITEM EDIT E%d", k);
        w.line("LOC 170 %d", 4 + k * 30);
        w.line("SIZE 80 26");
        w.line("@%d", k);
        w.line("}");
    }
    w.line("END DISPLAY");
}

std::string busyPages() {
    Writer w;
    w.line("Lesson 01-02 Busy pages");
    w.line("TOTAL 0");
    for (int p = 1; p <= 2; ++p) {
        w.line("PAGE %d", p);
        for (int d = 0; d < 9; ++d)
            w.line("DISPLAY P%dD%d", p, d);
    }
    w.line("PAGE 3");
    w.line("DISPLAY Q3");
    w.line("PAGE 4");
    w.line("DISPLAY Q4");
    w.line("END PAGES");
    for (int p = 1; p <= 2; ++p) {
        for (int d = 0; d < 9; ++d)
            busyBlock(w, p, d);
    }
    oneTextBlock(w, "Q", 3);
    oneTextBlock(w, "Q", 4);
    w.line("END LESSON");
    return w.text;
}

std::string hundredItems(bool labels) {
    Writer w;
    w.line(labels ? "Lesson 01-04 A hundred labels" : "Lesson 01-03 A hundred texts");
    w.line("PAGE 1");
    w.line("DISPLAY Many");
    w.line("END PAGES");
    w.line("DISPLAY Many 10 40 780 500 A");
    for (int k = 0; k < 100; ++k) {
        const int x = 10 + (k % 4) * 190;
        const int y = 10 + (k / 4) * 19;
        if (labels) {
            w.line("ITEM LABEL L%d", k);
            w.line("LOC %d %d", x + 60, y + 8);
            w.line("LINECOLOR %d", k % 10);
            w.line("SHAPE 45 12 L");
            w.line("@Label %d", k);
        } else {
            w.line("ITEM TEXT T%d", k);
            w.line("LOC %d %d", x, y);
            w.line("@Text %d: %s.", k, kWords);
        }
        w.line("}");
    }
    w.line("END DISPLAY");
    w.line("END LESSON");
    return w.text;
}

std::string lessonText(LessonShape shape, int pages) {
    switch (shape) {
    case LessonShape::OneItemPages:
        return oneItemPages(pages);
    case LessonShape::BusyPages:
        return busyPages();
    case LessonShape::HundredTexts:
        return hundredItems(false);
    case LessonShape::HundredLabels:
        return hundredItems(true);
    }
    return {};
}

void removeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(benchFolder(), ignored);
}

} // namespace

const std::string& benchFolder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "lorvenna-bench-XXXXXX");
        const char* made = mkdtemp(pattern.data());
        std::string path = made ? std::string(made) : std::string(".");
        std::filesystem::create_directories(path + "/LSNS");
        std::filesystem::create_directories(path + "/BMPS");
        setWorkingFolder(path);
        std::atexit(removeFolder);
        return path;
    }();
    return folder;
}

std::string benchLesson(LessonShape shape, int pages) {
    static std::map<std::pair<LessonShape, int>, std::string> written;
    static int next = 1;
    const auto key = std::make_pair(shape, pages);
    if (auto found = written.find(key); found != written.end())
        return found->second;
    char name[32];
    std::snprintf(name, sizeof name, "LSNS\\%02d-%02d.LSN", 2, next++);
    const std::string text = lessonText(shape, pages);
    std::FILE* file = std::fopen(benchLessonHostPath(name).c_str(), "wb");
    if (file) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    written.emplace(key, name);
    return name;
}

std::string benchLessonHostPath(const std::string& lessonName) {
    benchFolder();
    return hostPath(lessonName);
}

namespace {
std::unique_ptr<MainWindow>& benchWindow() {
    static std::unique_ptr<MainWindow> window;
    return window;
}
} // namespace

void ensureBenchWindow() {
    std::unique_ptr<MainWindow>& window = benchWindow();
    if (window)
        return;
    benchFolder();
    window = std::make_unique<MainWindow>();
    window->show();
    settleEvents();
}

void setBenchScale(double factor) {
    ensureBenchWindow();
    MainWindow& window = *benchWindow();
    window.resize(static_cast<int>(kPageWidth * factor), static_cast<int>(kPageHeight * factor));
    window.setFixedPageScale(factor);
    settleEvents();
}

void releaseBenchWindow() {
    benchWindow().reset();
}

void settleEvents() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

bool openLesson(const std::string& lessonName) {
    ensureBenchWindow();
    setText(lesson().lessonPath, lessonName.c_str());
    return static_cast<bool>(readLessonIndex());
}

void closeLesson() {
    lessonTeardown();
    lesson().turnTo(0);
    settleEvents();
}

long scanWithFgets(const std::string& hostPath) {
    std::FILE* file = std::fopen(hostPath.c_str(), "rb");
    if (!file)
        return -1;
    char line[256];
    long lines = 0;
    while (std::fgets(line, sizeof line, file))
        ++lines;
    std::fclose(file);
    return lines;
}

} // namespace lorvenna

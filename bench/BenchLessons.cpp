// The lessons the benchmarks play, written by the bench itself.
#include "bench/BenchLessons.h"

#include "lesson/LessonIndex.h"
#include "lesson/PageBuilder.h"
#include "platform/FileSystem.h"
#include "shell/FixedText.h"
#include "shell/MainWindow.h"
#include "shell/SessionState.h"

#include <QCoreApplication>

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
    void line(const std::string& l) {
        text += l;
        text += "\r\n";
    }
};

void pageLines(Writer& w, int page, std::initializer_list<std::string> displays) {
    w.line("PAGE " + std::to_string(page));
    for (const std::string& name : displays)
        w.line("DISPLAY " + name);
}

void oneTextBlock(Writer& w, const std::string& name, int page) {
    w.line("DISPLAY " + name + " 10 40 780 200 A");
    w.line("ITEM TEXT T");
    w.line("LOC 10 10");
    w.line("@Page " + std::to_string(page) + " of the lesson.");
    w.line("}");
    w.line("END DISPLAY");
}

std::string oneItemPages(int pages) {
    Writer w;
    w.line("Lesson 01-01 Many pages of one item");
    w.line("TOTAL 0");
    for (int p = 1; p <= pages; ++p)
        pageLines(w, p, {"D" + std::to_string(p)});
    w.line("END PAGES");
    for (int p = 1; p <= pages; ++p)
        oneTextBlock(w, "D" + std::to_string(p), p);
    w.line("END LESSON");
    return w.text;
}

// Display d of a busy page: 21 wrapped TEXT items, 6 LABEL items, 3 BUTTON and 3 EDIT items.
void busyBlock(Writer& w, const std::string& name, int d) {
    const int column = d % 3;
    const int row = d / 3;
    w.line("DISPLAY " + name + " " + std::to_string(10 + column * 262) + " " +
           std::to_string(40 + row * 170) + " 256 164 A");
    for (int k = 0; k < 21; ++k) {
        w.line("ITEM TEXT T" + std::to_string(k));
        w.line("LOC " + std::to_string(4 + (k % 3) * 30) + " " + std::to_string(4 + k * 7));
        w.line("@Text " + std::to_string(k) + " of display " + name + ": " + kWords + ".");
        w.line("}");
    }
    for (int k = 0; k < 6; ++k) {
        w.line("ITEM LABEL L" + std::to_string(k));
        w.line("LOC " + std::to_string(20 + k * 35) + " 120");
        w.line("LINECOLOR " + std::to_string(k));
        w.line("SHAPE 0 20 L");
        w.line("SHAPE 90 15 L");
        w.line("@Part " + std::to_string(k));
        w.line("}");
    }
    for (int k = 0; k < 3; ++k) {
        w.line("ITEM BUTTON B" + std::to_string(k));
        w.line("LOC " + std::to_string(4 + k * 84) + " 136");
        w.line("SIZE 80 24");
        w.line("@Answer " + std::to_string(k));
        w.line("}");
    }
    for (int k = 0; k < 3; ++k) {
        w.line("ITEM EDIT E" + std::to_string(k));
        w.line("LOC " + std::to_string(170) + " " + std::to_string(4 + k * 30));
        w.line("SIZE 80 26");
        w.line("@" + std::to_string(k));
        w.line("}");
    }
    w.line("END DISPLAY");
}

std::string busyPages() {
    Writer w;
    w.line("Lesson 01-02 Busy pages");
    w.line("TOTAL 0");
    for (int p = 1; p <= 2; ++p) {
        w.line("PAGE " + std::to_string(p));
        for (int d = 0; d < 9; ++d)
            w.line("DISPLAY P" + std::to_string(p) + "D" + std::to_string(d));
    }
    pageLines(w, 3, {"Q3"});
    pageLines(w, 4, {"Q4"});
    w.line("END PAGES");
    for (int p = 1; p <= 2; ++p) {
        for (int d = 0; d < 9; ++d)
            busyBlock(w, "P" + std::to_string(p) + "D" + std::to_string(d), d);
    }
    oneTextBlock(w, "Q3", 3);
    oneTextBlock(w, "Q4", 4);
    w.line("END LESSON");
    return w.text;
}

std::string hundredItems(bool labels) {
    Writer w;
    w.line(labels ? "Lesson 01-04 A hundred labels" : "Lesson 01-03 A hundred texts");
    pageLines(w, 1, {"Many"});
    w.line("END PAGES");
    w.line("DISPLAY Many 10 40 780 500 A");
    for (int k = 0; k < 100; ++k) {
        const int x = 10 + (k % 4) * 190;
        const int y = 10 + (k / 4) * 19;
        if (labels) {
            w.line("ITEM LABEL L" + std::to_string(k));
            w.line("LOC " + std::to_string(x + 60) + " " + std::to_string(y + 8));
            w.line("LINECOLOR " + std::to_string(k % 10));
            w.line("SHAPE 45 12 L");
            w.line("@Label " + std::to_string(k));
        } else {
            w.line("ITEM TEXT T" + std::to_string(k));
            w.line("LOC " + std::to_string(x) + " " + std::to_string(y));
            w.line("@Text " + std::to_string(k) + ": " + kWords + ".");
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

void ensureBenchWindow() {
    static std::unique_ptr<MainWindow> window;
    if (window)
        return;
    benchFolder();
    window = std::make_unique<MainWindow>();
    window->show();
    settleEvents();
}

void settleEvents() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

bool openLesson(const std::string& lessonName) {
    ensureBenchWindow();
    setText(session().lessonPath, lessonName.c_str());
    return ReadLessonIndex();
}

void closeLesson() {
    LessonTeardown();
    session().currentPage = 0;
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

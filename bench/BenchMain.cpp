// Entry of `make bench`: runs the benchmarks on Qt's offscreen platform, measures in fresh
// processes what needs one (start-up, peak memory, a page turn under a real X server), and
// prints every figure beside its goal and, for ratios, beside its baseline of the same run.
#include "bench/BenchLessons.h"

#include "items/Drawing.h"
#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "lesson/PageBuilder.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/LineMatcher.h"
#include "shell/MainWindow.h"
#include "shell/StartUp.h"

#include <QApplication>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace lorvenna {

namespace {

constexpr const char* kFirstWindowMode = "--first-window";
constexpr const char* kPlaySampleMode = "--play-sample";
constexpr const char* kStudentMode = "--student-turns";
constexpr int kStudentTurns = 21;
constexpr int kChildRuns = 7;

double monotonicMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double medianOf(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void useCourseware() {
    setWorkingFolder(LORVENNA_SOURCE_DIR "/courseware");
}

// Child: the moment the player's first window is on the screen.
int firstWindow() {
    useCourseware();
    std::unique_ptr<MainWindow> window = startUp();
    if (!window)
        return 1;
    settleEvents();
    std::printf("%.3f\n", monotonicMs());
    return 0;
}

long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Child: every page of every lesson of the sample course, painted; then the peak memory.
int playSample() {
    useCourseware();
    std::unique_ptr<MainWindow> window = startUp();
    if (!window)
        return 1;
    settleEvents();
    for (const std::string& name : findFiles("LSNS\\*.LSN")) {
        setText(lesson().lessonPath, ("LSNS\\" + name).c_str());
        if (!readLessonIndex())
            return 1;
        for (int page = 1; page <= lesson().pageCount; ++page) {
            if (!buildPage(page))
                return 1;
            settleEvents();
            markAllAndRepaint();
            settleEvents();
        }
        lessonTeardown();
        settleEvents();
    }
    std::printf("%ld\n", peakKilobytes());
    return 0;
}

// Child under a real X server: median turn to a busy page and to a one-item page.
int studentTurns() {
    ensureBenchWindow();
    if (!openLesson(benchLesson(LessonShape::BusyPages)))
        return 1;
    auto turns = [](int first, int second) {
        std::vector<double> times;
        (void)buildPage(first);
        settleEvents();
        QGuiApplication::sync();
        for (int turn = 0; turn < kStudentTurns; ++turn) {
            const double start = monotonicMs();
            (void)buildPage(turn % 2 ? first : second);
            settleEvents();
            QGuiApplication::sync(); // the X server has drawn it
            times.push_back(monotonicMs() - start);
        }
        return medianOf(times);
    };
    const double busy = turns(1, 2);
    const double single = turns(3, 4);
    closeLesson();
    releaseBenchWindow();
    std::printf("%.3f %.3f\n", busy, single);
    return 0;
}

// Runs this program again with arguments; its first output line, or "" if it failed.
std::string runChild(const std::string& command) {
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {};
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    const int status = pclose(pipe);
    return read && status == 0 ? std::string(line) : std::string();
}

std::string selfPath() {
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

// Collects the medians and minima of every benchmark while the console shows them.
class Collector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Aggregate)
                continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += "/" + run.run_name.args;
            if (run.aggregate_name == "median") {
                median[name] = run.GetAdjustedRealTime();
                for (const auto& [counter, value] : run.counters)
                    counters[name + ":" + counter] = value;
            } else if (run.aggregate_name == "min") {
                minimum[name] = run.GetAdjustedRealTime();
            }
        }
    }
    std::map<std::string, double> median;
    std::map<std::string, double> minimum;
    std::map<std::string, double> counters;
};

double figure(const std::map<std::string, double>& figures, const std::string& name) {
    const auto found = figures.find(name);
    return found == figures.end() ? -1 : found->second;
}

void row(const char* what, const std::string& value, const char* goal, bool met) {
    std::printf("%-58s %-30s %-18s %s\n", what, value.c_str(), goal, met ? "met" : "NOT MET");
}

std::string format(const char* pattern, double a, double b = 0, double c = 0) {
    char text[128];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

void printSummary(const Collector& c, const std::string& self, bool filtered) {
    auto ms = [&](const std::string& name) { return figure(c.median, name); };
    std::printf("\nFigures (median of the repetitions, milliseconds of real time):\n");
    std::printf("%-58s %-30s %-18s %s\n", "what", "figure", "goal", "");

    const double setUp = ms("LessonSetUp/20000");
    const double scan = ms("FgetsScan/20000");
    row("lesson set-up, 20 000 pages, vs fgets scan of the file",
        format("%.2f vs %.2f: %.2fx", setUp, scan, setUp / scan), "at most 1.5x",
        setUp > 0 && scan > 0 && setUp / scan <= 1.5);

    const double busy = ms("PageTurnBusy");
    row("page turn to 9 displays, 297 items, painted", format("%.2f", busy), "under 16",
        busy > 0 && busy < 16);

    const double small = ms("PageTurnOneItem/2000");
    const double large = ms("PageTurnOneItem/80000");
    row("page turn, one-item page, 80 000 vs 2 000 pages",
        format("%.3f vs %.3f: %.2fx", large, small, large / small), "within 20 %",
        small > 0 && large > 0 && large / small <= 1.2);

    const double texts = ms("RepaintTexts");
    row("repaint, display of 100 TEXT items as drawn before", format("%.3f", texts), "under 2",
        texts > 0 && texts < 2);
    const double afresh = ms("RepaintTextsAfresh");
    row("repaint, display of 100 TEXT items drawn afresh", format("%.3f", afresh), "under 2",
        afresh > 0 && afresh < 2);
    const double labels = ms("RepaintLabels");
    row("full repaint, display of 100 LABEL items", format("%.3f", labels), "under 1",
        labels > 0 && labels < 1);

    const double busyAtTwo = ms("PageTurnBusyAtTwo");
    row("page turn to 9 displays at scale 2 vs at scale 1",
        format("%.2f vs %.2f: %.2fx", busyAtTwo, busy, busyAtTwo / busy), "at most 1.5x",
        busyAtTwo > 0 && busy > 0 && busyAtTwo / busy <= 1.5);
    const double textsAtTwo = ms("RepaintTextsAtTwo");
    row("repaint, 100 TEXT items as before, at scale 2 vs at scale 1",
        format("%.3f vs %.3f: %.2fx", textsAtTwo, texts, textsAtTwo / texts), "at most 1.5x",
        textsAtTwo > 0 && texts > 0 && textsAtTwo / texts <= 1.5);
    const double oneChanged = ms("RepaintTextsOneChanged");
    const double oneChangedAtTwo = ms("RepaintTextsOneChangedAtTwo");
    row("repaint, one of 100 TEXT items changed, at scale 2 vs at 1",
        format("%.3f vs %.3f: %.2fx", oneChangedAtTwo, oneChanged, oneChangedAtTwo / oneChanged),
        "at most 1.5x",
        oneChangedAtTwo > 0 && oneChanged > 0 && oneChangedAtTwo / oneChanged <= 1.5);
    // Drawn afresh, every pixel is laid again, and scale 2 has four times as many.
    const double afreshAtTwo = ms("RepaintTextsAfreshAtTwo");
    const double perPixel = afreshAtTwo / 4 / afresh;
    row("repaint, 100 TEXT items afresh, at scale 2 vs 1, per pixel",
        format("%.3f vs %.3f: %.2fx", afreshAtTwo, afresh, perPixel), "at most 1.5x",
        afreshAtTwo > 0 && afresh > 0 && perPixel <= 1.5);

    if (filtered) {
        std::printf("(a filtered run: the rows measured in processes of their own are left out)\n");
        return;
    }
    // The student's view: a real X server, in a process of its own.
    const std::string turns = runChild("xvfb-run -a -s '-screen 0 1024x768x24' env "
                                       "QT_QPA_PLATFORM=xcb '" +
                                       self + "' " + kStudentMode + " 2>/dev/null");
    double busyX = -1;
    double singleX = -1;
    LineMatcher figures(turns.c_str());
    if (figures.number(busyX) && figures.number(singleX)) {
        row("page turn under X: 9 displays of 33 items vs one item",
            format("%.2f vs %.2f: %.2f more", busyX, singleX, busyX - singleX), "under 16 more",
            busyX - singleX < 16);
    } else {
        row("page turn under X: 9 displays of 33 items vs one item", "no X server (xvfb-run)",
            "under 16 more", false);
    }

    const double open2k = ms("LessonSetUp/2000");
    const double open80k = ms("LessonSetUp/80000");
    row("opening 80 000 pages vs 2 000 pages",
        format("%.1f vs %.1f: %.1f more", open80k, open2k, open80k - open2k), "under 250 more",
        open80k > 0 && open2k > 0 && open80k - open2k < 250);

    std::vector<double> starts;
    std::vector<double> peaks;
    for (int run = 0; run < kChildRuns; ++run) {
        const double before = monotonicMs();
        const std::string shown = runChild("'" + self + "' " + kFirstWindowMode + " 2>/dev/null");
        if (!shown.empty())
            starts.push_back(std::atof(shown.c_str()) - before);
        const std::string peak = runChild("'" + self + "' " + kPlaySampleMode + " 2>/dev/null");
        if (!peak.empty())
            peaks.push_back(std::atof(peak.c_str()) / 1024.0);
    }
    const double start = medianOf(starts);
    row("start to the first window", format("%.1f", start), "under 50", start > 0 && start < 50);
    const double peak = medianOf(peaks);
    row("peak memory, sample course played (MB)", format("%.1f", peak), "under 40",
        peak > 0 && peak < 40);

    std::printf("\nGrowth with the lesson's length (per page; linear means flat):\n");
    for (const char* pages : {"2000", "20000", "80000", "200000"}) {
        const double n = std::atof(pages);
        const std::string name = std::string("LessonSetUp/") + pages;
        std::printf("  %6s pages: set-up %8.2f ms = %6.0f ns/page (fgets %6.0f ns/page), "
                    "%5.0f bytes/page entry\n",
                    pages, ms(name), ms(name) * 1e6 / n,
                    ms(std::string("FgetsScan/") + pages) * 1e6 / n,
                    figure(c.counters, name + ":bytes_per_page"));
    }
    for (const char* pages : {"2000", "80000", "200000"}) {
        std::printf("  %6s pages: page turn %.3f ms (min %.3f)\n", pages,
                    ms(std::string("PageTurnOneItem/") + pages),
                    figure(c.minimum, std::string("PageTurnOneItem/") + pages));
    }
}

} // namespace

} // namespace lorvenna

int main(int argc, char** argv) {
    using namespace lorvenna;
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool student = mode == kStudentMode;
    if (!student)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);

    if (mode == kFirstWindowMode)
        return firstWindow();
    if (mode == kPlaySampleMode)
        return playSample();
    if (student)
        return studentTurns();

    bool filtered = false;
    for (int i = 1; i < argc; ++i)
        filtered = filtered || std::strncmp(argv[i], "--benchmark_filter", 18) == 0;
    benchmark::Initialize(&argc, argv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    releaseBenchWindow();
    printSummary(collector, selfPath(), filtered);
    benchmark::Shutdown();
    return 0;
}

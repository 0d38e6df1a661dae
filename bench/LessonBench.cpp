// Benchmarks of what a student waits for: opening a lesson, turning a page, repainting.
#include "bench/BenchLessons.h"

#include "items/Display.h"
#include "items/Drawing.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "lesson/PageBuilder.h"
#include "platform/ChildWindow.h"
#include "platform/QtSurface.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <string>
#include <vector>

namespace lorvenna {
namespace {

// Index and page 1, painted: what the student waits for after choosing a lesson.
void LessonSetUp(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const std::string lesson = benchLesson(LessonShape::OneItemPages, pages);
    ensureBenchWindow();
    for (auto _ : state) {
        if (!openLesson(lesson) || !buildPage(1)) {
            state.SkipWithError("the generated lesson does not open");
            return;
        }
        settleEvents();
        state.PauseTiming();
        closeLesson();
        state.ResumeTiming();
    }

    // What one page entry of the index costs in memory, all it owns included.
    const std::size_t before = mallinfo2().uordblks;
    openLesson(lesson);
    const std::size_t after = mallinfo2().uordblks;
    closeLesson();
    state.counters["bytes_per_page"] =
        static_cast<double>(after > before ? after - before : 0) / pages;
}

// The baseline of set-up: one sequential read of the same file with fgets.
void FgetsScan(benchmark::State& state) {
    const std::string path = benchLessonHostPath(
        benchLesson(LessonShape::OneItemPages, static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(scanWithFgets(path));
}

// Turns back and forth between two pages (no display shared), each turn painted.
void turnPages(benchmark::State& state, const std::string& lesson, int first, int second) {
    if (!openLesson(lesson) || !buildPage(first)) {
        state.SkipWithError("the generated lesson does not open");
        return;
    }
    settleEvents();
    int page = second;
    for (auto _ : state) {
        if (!buildPage(page)) {
            state.SkipWithError("a page does not build");
            break;
        }
        settleEvents();
        page = page == first ? second : first;
    }
    closeLesson();
}

// Pages of nine displays with 297 items.
void PageTurnBusy(benchmark::State& state) {
    turnPages(state, benchLesson(LessonShape::BusyPages), 1, 2);
}

// One-item pages at the end of a lesson of range(0) pages.
void PageTurnOneItem(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    turnPages(state, benchLesson(LessonShape::OneItemPages, pages), pages - 1, pages);
}

// What changes between one repaint and the next.
enum class Change {
    Nothing,   // a repaint of what was drawn, as on every paint of the window
    OneItem,   // one item of the display hides or shows again
    Forgotten, // the picture is drawn afresh, as after a turn of the page or a resize
};

// Repaint display: white, every item's Draw, the picture handed to the window.
void repaintDisplay(benchmark::State& state, LessonShape shape, Change change = Change::Nothing) {
    if (!openLesson(benchLesson(shape)) || !buildPage(1) || !pageOnScreen().displays[1]) {
        state.SkipWithError("the generated lesson does not open");
        return;
    }
    settleEvents();
    Display* display = pageOnScreen().displays[1];
    Item* middle = display->items;
    for (int i = 0; i < 50 && middle && middle->next; ++i)
        middle = middle->next;
    auto* picture = dynamic_cast<QtSurface*>(&display->window->imageSurface());
    for (auto _ : state) {
        if (change == Change::OneItem && middle)
            middle->visibility =
                middle->visibility == Visibility::Hidden ? Visibility::Shown : Visibility::Hidden;
        if (change == Change::Forgotten && picture)
            picture->forgetFrame();
        markAndRepaint(display);
    }
    // How many pixels the last repaint laid again.
    if (picture)
        state.counters["pixels_laid"] =
            static_cast<double>(picture->lastDamage().width()) * picture->lastDamage().height();
    closeLesson();
}

void RepaintTexts(benchmark::State& state) {
    repaintDisplay(state, LessonShape::HundredTexts);
}

void RepaintTextsOneChanged(benchmark::State& state) {
    repaintDisplay(state, LessonShape::HundredTexts, Change::OneItem);
}

void RepaintTextsAfresh(benchmark::State& state) {
    repaintDisplay(state, LessonShape::HundredTexts, Change::Forgotten);
}

void RepaintLabels(benchmark::State& state) {
    repaintDisplay(state, LessonShape::HundredLabels);
}

// The same turns and repaints with the page at twice its size, as on a large screen.
void atScaleTwo(benchmark::State& state, void (*run)(benchmark::State&)) {
    setBenchScale(2.0);
    run(state);
    setBenchScale(1.0);
}

void PageTurnBusyAtTwo(benchmark::State& state) {
    atScaleTwo(state, PageTurnBusy);
}

void RepaintTextsAtTwo(benchmark::State& state) {
    atScaleTwo(state, RepaintTexts);
}

void RepaintTextsOneChangedAtTwo(benchmark::State& state) {
    atScaleTwo(state, RepaintTextsOneChanged);
}

void RepaintTextsAfreshAtTwo(benchmark::State& state) {
    atScaleTwo(state, RepaintTextsAfresh);
}

constexpr int kRepetitions = 5;

void common(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true)
        ->MinTime(0.2)
        ->ComputeStatistics("min", [](const std::vector<double>& v) {
            return *std::min_element(v.begin(), v.end());
        });
}

BENCHMARK(FgetsScan)->Apply(common)->Arg(2000)->Arg(20000)->Arg(80000)->Arg(200000);
BENCHMARK(LessonSetUp)->Apply(common)->Arg(2000)->Arg(20000)->Arg(80000)->Arg(200000);
// Each run at scale 2 comes right after its twin at scale 1, so that the two of a ratio are
// measured while the machine and the process are in the same state.
BENCHMARK(PageTurnBusy)->Apply(common);
BENCHMARK(PageTurnBusyAtTwo)->Apply(common);
BENCHMARK(PageTurnOneItem)->Apply(common)->Arg(2000)->Arg(80000)->Arg(200000);
BENCHMARK(RepaintLabels)->Apply(common);
BENCHMARK(RepaintTexts)->Apply(common);
BENCHMARK(RepaintTextsAtTwo)->Apply(common);
BENCHMARK(RepaintTextsOneChanged)->Apply(common);
BENCHMARK(RepaintTextsOneChangedAtTwo)->Apply(common);
BENCHMARK(RepaintTextsAfresh)->Apply(common);
BENCHMARK(RepaintTextsAfreshAtTwo)->Apply(common);

} // namespace
} // namespace lorvenna

// The class report as one web page with inline SVG.
#include "tools/grades/ClassReport.h"

#include "tools/grades/SafeText.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace lorvenna {

namespace {

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, pattern, args);
    va_end(args);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), pattern, again);
    va_end(again);
    text.resize(text.size() - 1);
    return text;
}

std::string whole(double percent) {
    return format("%.0f", percent);
}

// Light for a low score, dark for a high one: the shade alone orders the cells in grey.
std::string shadeOf(double percent) {
    const double lightness = 94.0 - std::clamp(percent, 0.0, 100.0) * 0.62;
    return format("hsl(212,55%%,%.0f%%)", lightness);
}
const char* inkOn(double percent) {
    return percent >= 55.0 ? "#fff" : "#000";
}

// A name cut to fit a chart's label column; the tables hold it whole.
std::string shortName(const std::string& name) {
    constexpr std::size_t kLimit = 22;
    return name.size() <= kLimit ? name : name.substr(0, kLimit - 1) + "~";
}

constexpr const char* kStyle = R"(
body { font-family: sans-serif; margin: 1.5em; color: #000; background: #fff; }
h1 { font-size: 1.6em; } h2 { font-size: 1.25em; margin-top: 1.6em; }
.pair { display: flex; flex-wrap: wrap; gap: 1.5em; align-items: flex-start; }
table { border-collapse: collapse; font-size: 0.85em; }
th, td { border: 1px solid #888; padding: 0.2em 0.45em; text-align: left; }
td.n { text-align: right; }
svg text { font-family: sans-serif; }
.small { display: inline-block; margin: 0 1em 1em 0; vertical-align: top; }
@media print { section, figure, .small { break-inside: avoid; } body { margin: 0; } }
)";

std::string gridChart(const ClassSummary& summary) {
    const auto& lessons = summary.lessons();
    const auto& students = summary.students();
    constexpr int kLabel = 170, kCell = 58, kRow = 30, kTop = 34;
    const int width = kLabel + kCell * static_cast<int>(lessons.size()) + 4;
    const int height = kTop + kRow * static_cast<int>(students.size()) + 4;
    std::string svg = format("<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" "
                             "aria-labelledby=\"grid-title grid-desc\" width=\"%d\" "
                             "height=\"%d\" viewBox=\"0 0 %d %d\">\n",
                             width, height, width, height);
    svg += "<title id=\"grid-title\">Best score by student and lesson</title>\n";
    svg += "<desc id=\"grid-desc\">One row per student, one column per lesson; each cell holds "
           "the best valid percentage, darker for higher, and a dash where the lesson was never "
           "tried. The table beside it holds the same numbers.</desc>\n";
    for (std::size_t l = 0; l < lessons.size(); ++l)
        svg += format("<text class=\"lesson\" x=\"%d\" y=\"%d\" text-anchor=\"middle\" "
                      "font-size=\"13\">%s</text>\n",
                      kLabel + kCell * static_cast<int>(l) + kCell / 2, kTop - 12,
                      lessons[l].number().c_str());
    for (std::size_t s = 0; s < students.size(); ++s) {
        const int y = kTop + kRow * static_cast<int>(s);
        svg += format("<text class=\"student\" x=\"%d\" y=\"%d\" font-size=\"13\">", 2,
                      y + kRow / 2 + 5) +
               htmlText(shortName(students[s].name)) + "</text>\n";
        for (std::size_t l = 0; l < lessons.size(); ++l) {
            const SummaryCell& cell = students[s].cells[l];
            const int x = kLabel + kCell * static_cast<int>(l);
            const std::string who =
                htmlText(students[s].name) + ", " + htmlText(lessons[l].label()) + ": ";
            if (!cell.tried()) {
                svg += format("<g><title>%s</title><rect x=\"%d\" y=\"%d\" width=\"%d\" "
                              "height=\"%d\" fill=\"#fff\" stroke=\"#999\" "
                              "stroke-dasharray=\"3 2\"/><text x=\"%d\" y=\"%d\" "
                              "text-anchor=\"middle\" font-size=\"13\">-</text></g>\n",
                              (who + "not tried").c_str(), x + 1, y + 1, kCell - 2, kRow - 2,
                              x + kCell / 2, y + kRow / 2 + 5);
                continue;
            }
            svg +=
                format("<g><title>%s</title><rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" "
                       "fill=\"%s\" stroke=\"#fff\"/><text x=\"%d\" y=\"%d\" "
                       "text-anchor=\"middle\" font-size=\"13\" fill=\"%s\">%s</text></g>\n",
                       (who + "best " + whole(cell.best) + " % in " +
                        std::to_string(cell.attempts) + " attempts")
                           .c_str(),
                       x + 1, y + 1, kCell - 2, kRow - 2, shadeOf(cell.best).c_str(), x + kCell / 2,
                       y + kRow / 2 + 5, inkOn(cell.best), whole(cell.best).c_str());
        }
    }
    return svg + "</svg>\n";
}

std::string gridTable(const ClassSummary& summary) {
    std::string html = "<table>\n<caption>Best valid percentage (attempts)</caption>\n<tr><th "
                       "scope=\"col\">Student</th>";
    for (const LessonColumn& lesson : summary.lessons())
        html += "<th scope=\"col\">" + htmlText(lesson.label()) + "</th>";
    html += "</tr>\n";
    for (const SummaryStudent& student : summary.students()) {
        html += "<tr><th scope=\"row\">" + htmlText(student.name) + "</th>";
        for (const SummaryCell& cell : student.cells)
            html += cell.tried() ? "<td class=\"n\">" + whole(cell.best) + " (" +
                                       std::to_string(cell.attempts) + ")</td>"
                                 : std::string("<td class=\"n\">not tried</td>");
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string spreadChart(const ClassSummary& summary) {
    const auto& lessons = summary.lessons();
    constexpr int kLabel = 70, kScale = 4, kRow = 34, kTop = 26, kNote = 130;
    const int width = kLabel + 100 * kScale + kNote;
    const int height = kTop + kRow * static_cast<int>(lessons.size()) + 6;
    std::string svg = format("<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" "
                             "aria-labelledby=\"spread-title spread-desc\" width=\"%d\" "
                             "height=\"%d\" viewBox=\"0 0 %d %d\">\n",
                             width, height, width, height);
    svg += "<title id=\"spread-title\">Spread of the class's best scores per lesson</title>\n"
           "<desc id=\"spread-desc\">For each lesson a line from the lowest to the highest "
           "best score, a box from the lower to the upper quartile, a thick mark at the median, "
           "and how many students have not tried it. The table beside it holds the same "
           "numbers.</desc>\n";
    for (int tick = 0; tick <= 100; tick += 25)
        svg += format("<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#ccc\"/>"
                      "<text x=\"%d\" y=\"%d\" text-anchor=\"middle\" font-size=\"11\">%d</text>\n",
                      kLabel + tick * kScale, kTop - 4, kLabel + tick * kScale, height - 4,
                      kLabel + tick * kScale, kTop - 10, tick);
    for (std::size_t l = 0; l < lessons.size(); ++l) {
        const LessonSpread spread = summary.spread(l);
        const int y = kTop + kRow * static_cast<int>(l) + kRow / 2;
        svg += format("<text class=\"lesson\" x=\"2\" y=\"%d\" font-size=\"13\">%s</text>\n", y + 5,
                      lessons[l].number().c_str());
        auto at = [&](double percent) { return kLabel + std::clamp(percent, 0.0, 100.0) * kScale; };
        if (spread.tried > 0) {
            svg += format("<g><title>%s: lowest %s, quartiles %s and %s, median %s, highest "
                          "%s</title>",
                          lessons[l].number().c_str(), whole(spread.low).c_str(),
                          whole(spread.lowerQuartile).c_str(), whole(spread.upperQuartile).c_str(),
                          whole(spread.median).c_str(), whole(spread.high).c_str());
            svg += format("<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" stroke=\"#000\"/>",
                          at(spread.low), y, at(spread.high), y);
            svg += format("<rect x=\"%.1f\" y=\"%d\" width=\"%.1f\" height=\"16\" fill=\"#bcd\" "
                          "stroke=\"#000\"/>",
                          at(spread.lowerQuartile), y - 8,
                          std::max(1.0, at(spread.upperQuartile) - at(spread.lowerQuartile)));
            svg += format("<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" stroke=\"#000\" "
                          "stroke-width=\"4\"/></g>\n",
                          at(spread.median), y - 10, at(spread.median), y + 10);
        }
        svg += format("<text x=\"%d\" y=\"%d\" font-size=\"12\">%d not tried</text>\n",
                      kLabel + 100 * kScale + 12, y + 5, spread.notTried);
    }
    return svg + "</svg>\n";
}

std::string spreadTable(const ClassSummary& summary) {
    std::string html = "<table>\n<caption>Best scores per lesson</caption>\n<tr><th "
                       "scope=\"col\">Lesson</th><th scope=\"col\">Tried</th><th "
                       "scope=\"col\">Not tried</th><th scope=\"col\">Lowest</th><th "
                       "scope=\"col\">Lower quartile</th><th scope=\"col\">Median</th><th "
                       "scope=\"col\">Upper quartile</th><th scope=\"col\">Highest</th></tr>\n";
    for (std::size_t l = 0; l < summary.lessons().size(); ++l) {
        const LessonSpread s = summary.spread(l);
        html += "<tr><th scope=\"row\">" + htmlText(summary.lessons()[l].label()) + "</th>";
        html += format("<td class=\"n\">%d</td><td class=\"n\">%d</td>", s.tried, s.notTried);
        for (double value : {s.low, s.lowerQuartile, s.median, s.upperQuartile, s.high})
            html += "<td class=\"n\">" + (s.tried > 0 ? whole(value) : std::string("-")) + "</td>";
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string historyChart(const SummaryStudent& student, std::size_t index) {
    constexpr int kWidth = 260, kHeight = 110, kLeft = 30, kTop = 22, kPlot = 70;
    const std::string id = "history-" + std::to_string(index);
    std::string svg = format("<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" "
                             "aria-labelledby=\"%s-title %s-desc\" width=\"%d\" height=\"%d\" "
                             "viewBox=\"0 0 %d %d\">\n",
                             id.c_str(), id.c_str(), kWidth, kHeight, kWidth, kHeight);
    svg += "<title id=\"" + id + "-title\">" + htmlText(student.name) +
           ": attempts over time</title>\n<desc id=\"" + id + "-desc\">";
    if (student.history.empty())
        svg += "No valid attempt.";
    for (const GradeRow& row : student.history)
        svg += format("Lesson %.2ld-%.2ld on %04d-%02d-%02d%s%s: %s percent. ", row.major,
                      row.minor, row.year, row.month, row.day, row.time.empty() ? "" : " at ",
                      row.time.c_str(), whole(row.percent()).c_str());
    svg += "</desc>\n";
    svg += format("<text class=\"student\" x=\"0\" y=\"14\" font-size=\"13\" "
                  "font-weight=\"bold\">%s</text>\n",
                  htmlText(shortName(student.name)).c_str());
    svg += format("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"none\" "
                  "stroke=\"#999\"/><text x=\"%d\" y=\"%d\" font-size=\"10\" "
                  "text-anchor=\"end\">100</text><text x=\"%d\" y=\"%d\" font-size=\"10\" "
                  "text-anchor=\"end\">0</text>\n",
                  kLeft, kTop, kWidth - kLeft - 4, kPlot, kLeft - 3, kTop + 8, kLeft - 3,
                  kTop + kPlot);
    const std::size_t count = student.history.size();
    const double step = count > 1 ? static_cast<double>(kWidth - kLeft - 16) / (count - 1) : 0;
    std::string points;
    for (std::size_t i = 0; i < count; ++i) {
        const double x = kLeft + 6 + step * static_cast<double>(i) +
                         (count == 1 ? (kWidth - kLeft - 16) / 2.0 : 0);
        const double y =
            kTop + kPlot - std::clamp(student.history[i].percent(), 0.0, 100.0) * kPlot / 100.0;
        points += format("%.1f,%.1f ", x, y);
        svg += format("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3\" fill=\"#000\"/>\n", x, y);
    }
    if (count > 1)
        svg += "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"#000\"/>\n";
    if (count == 0)
        svg += format("<text x=\"%d\" y=\"%d\" font-size=\"12\">no valid attempt</text>\n",
                      kLeft + 10, kTop + kPlot / 2 + 4);
    else
        svg += format("<text x=\"%d\" y=\"%d\" font-size=\"11\">%zu attempts, first %s, last "
                      "%s</text>\n",
                      kLeft, kHeight - 4, count, whole(student.history.front().percent()).c_str(),
                      whole(student.history.back().percent()).c_str());
    return svg + "</svg>\n";
}

std::string notCountedTable(const GradeTable& table) {
    std::string html = "<table>\n<caption>Grade files not counted, with why</caption>\n<tr><th "
                       "scope=\"col\">Disk</th><th scope=\"col\">Student</th><th "
                       "scope=\"col\">Lesson</th><th scope=\"col\">Attempt</th><th "
                       "scope=\"col\">Status</th><th scope=\"col\">Why</th></tr>\n";
    for (const GradeRow& row : table.rows()) {
        if (row.status == GradeStatus::Valid)
            continue;
        html += "<tr><td>" + htmlText(row.disk) + "</td><td>" + htmlText(row.student) + "</td>";
        html += format("<td>%.2ld-%.2ld</td><td class=\"n\">%ld</td><td>%s</td>", row.major,
                       row.minor, row.attempt, statusName(row.status));
        html += "<td>" + htmlText(row.why) + "</td></tr>\n";
    }
    return html + "</table>\n";
}

} // namespace

std::string classReport(const GradeTable& table, const ClassSummary& summary) {
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
                       "<title>Class report</title>\n<style>";
    html += kStyle;
    html += "</style>\n</head>\n<body>\n<h1>Class report</h1>\n";
    html += format("<p>%zu students, %zu lessons, %zu disks. Rows: ", summary.students().size(),
                   summary.lessons().size(), table.disks().size()) +
            table.countLine() + ".</p>\n";
    for (const DiskReport& disk : table.disks()) {
        if (disk.owner.empty())
            html += "<p>Disk " + htmlText(disk.folder) + ": " + htmlText(disk.problem) + "</p>\n";
    }
    html +=
        "<section>\n<h2>Best score by student and lesson</h2>\n<div class=\"pair\">\n<figure>\n";
    html += gridChart(summary) + "</figure>\n" + gridTable(summary) + "</div>\n</section>\n";
    html += "<section>\n<h2>Spread per lesson</h2>\n<div class=\"pair\">\n<figure>\n";
    html += spreadChart(summary) + "</figure>\n" + spreadTable(summary) + "</div>\n</section>\n";
    html += "<section>\n<h2>Attempts over time</h2>\n<p>Each student's valid attempts in the "
            "order they were made, from 0 to 100 percent.</p>\n";
    for (std::size_t s = 0; s < summary.students().size(); ++s)
        html += "<div class=\"small\">\n" + historyChart(summary.students()[s], s) + "</div>\n";
    html += "</section>\n<section>\n<h2>Rows not counted</h2>\n";
    const auto counts = table.statusCounts();
    if (counts[static_cast<int>(GradeStatus::Valid)] == static_cast<int>(table.rows().size()))
        html += "<p>None: every grade file is valid.</p>\n";
    else
        html += notCountedTable(table);
    html += "</section>\n</body>\n</html>\n";
    return html;
}

} // namespace lorvenna

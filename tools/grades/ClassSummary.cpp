// The class at a glance: best valid percentages by student and lesson.
#include "tools/grades/ClassSummary.h"

#include "platform/IgnoreCase.h"
#include "records/GradeScan.h"
#include "tools/grades/SafeText.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace lorvenna {

namespace {

// A title line is at most this long; the rest of the file is never read.
constexpr std::size_t kTitleLimit = 240;

std::string firstLine(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char buffer[kTitleLimit + 1] = {};
    in.read(buffer, kTitleLimit);
    std::string line(buffer, static_cast<std::size_t>(in.gcount()));
    return line.substr(0, line.find_first_of("\r\n"));
}

// " Lesson %ld-%ld": the numbers, and where the text after them starts.
bool titleNumbers(const std::string& line, LessonNumbers& numbers, std::size_t& rest) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, 6, "Lesson") != 0)
        return false;
    std::size_t at = line.find_first_not_of(" \t", start + 6);
    if (at == std::string::npos)
        return false;
    long major = 0;
    long minor = 0;
    if (!lessonNumbersFromFileName(std::string_view(line).substr(at), major, minor))
        return false;
    at = line.find_first_not_of("0123456789", at);
    at = at == std::string::npos ? line.size() : line.find_first_not_of("0123456789", at + 1);
    numbers = {major, minor};
    rest = at == std::string::npos ? line.size() : at;
    return true;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

std::string percentText(double percent) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", percent);
    return text;
}

// The value at fraction p of the sorted values, between neighbours where it falls between.
double quantile(const std::vector<double>& sorted, double p) {
    const double position = p * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(position);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] +
           (sorted[above] - sorted[below]) * (position - static_cast<double>(below));
}

} // namespace

std::string LessonColumn::number() const {
    char text[48];
    std::snprintf(text, sizeof text, "%.2ld-%.2ld", numbers.first, numbers.second);
    return text;
}

std::string LessonColumn::label() const {
    return title.empty() ? number() : number() + " " + title;
}

std::map<LessonNumbers, std::string> readCourseTitles(const std::string& folder,
                                                      std::string& problem) {
    namespace fs = std::filesystem;
    std::map<LessonNumbers, std::string> titles;
    std::error_code error;
    fs::path lessons;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (equalsIgnoringCase(entry.path().filename().string(), "LSNS") &&
            entry.is_directory(error))
            lessons = entry.path();
    }
    if (lessons.empty()) {
        problem = "no LSNS folder in " + shownText(folder);
        return titles;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(lessons, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < 4 || !equalsIgnoringCase(name.substr(name.size() - 4), ".LSN") ||
            !entry.is_regular_file(error))
            continue;
        const std::string line = firstLine(entry.path());
        LessonNumbers numbers;
        std::size_t rest = 0;
        if (titleNumbers(line, numbers, rest)) {
            titles[numbers] = trimmed(line.substr(rest));
            continue;
        }
        if (lessonNumbersFromFileName(name, numbers.first, numbers.second))
            titles[numbers] = trimmed(line);
    }
    return titles;
}

ClassSummary::ClassSummary(const GradeTable& table,
                           const std::map<LessonNumbers, std::string>& titles) {
    std::map<LessonNumbers, std::string> columns = titles;
    for (const GradeRow& row : table.rows()) {
        if (row.status == GradeStatus::Valid)
            columns.try_emplace({row.major, row.minor});
    }
    for (const auto& [numbers, title] : columns)
        lessons_.push_back({numbers, title});

    std::map<std::string, SummaryStudent> byName; // by folded name
    auto studentNamed = [&](const std::string& name) -> SummaryStudent& {
        SummaryStudent& student = byName[foldedCopy(name)];
        if (student.name.empty()) {
            student.name = name;
            student.cells.resize(lessons_.size());
        }
        return student;
    };
    for (const DiskReport& disk : table.disks()) {
        if (!disk.owner.empty())
            studentNamed(disk.owner);
    }
    for (const GradeRow& row : table.rows()) {
        if (row.status != GradeStatus::Valid)
            continue;
        SummaryStudent& student = studentNamed(row.student);
        const auto column = std::find_if(lessons_.begin(), lessons_.end(), [&](const auto& l) {
            return l.numbers == LessonNumbers{row.major, row.minor};
        });
        SummaryCell& cell = student.cells[static_cast<std::size_t>(column - lessons_.begin())];
        cell.best = cell.tried() ? std::max(cell.best, row.percent()) : row.percent();
        ++cell.attempts;
        student.history.push_back(row);
    }
    for (auto& [folded, student] : byName) {
        std::stable_sort(student.history.begin(), student.history.end(),
                         [](const GradeRow& a, const GradeRow& b) {
                             return std::tie(a.year, a.month, a.day, a.time, a.major, a.minor,
                                             a.attempt) < std::tie(b.year, b.month, b.day, b.time,
                                                                   b.major, b.minor, b.attempt);
                         });
        students_.push_back(std::move(student));
    }
    std::stable_sort(students_.begin(), students_.end(),
                     [](const SummaryStudent& a, const SummaryStudent& b) {
                         return lessFolded(a.name, b.name);
                     });
}

LessonSpread ClassSummary::spread(std::size_t lesson) const {
    LessonSpread spread;
    std::vector<double> bests;
    for (const SummaryStudent& student : students_) {
        if (student.cells[lesson].tried())
            bests.push_back(student.cells[lesson].best);
    }
    spread.tried = static_cast<int>(bests.size());
    spread.notTried = static_cast<int>(students_.size() - bests.size());
    if (bests.empty())
        return spread;
    std::sort(bests.begin(), bests.end());
    spread.low = bests.front();
    spread.lowerQuartile = quantile(bests, 0.25);
    spread.median = quantile(bests, 0.5);
    spread.upperQuartile = quantile(bests, 0.75);
    spread.high = bests.back();
    return spread;
}

std::string ClassSummary::csv() const {
    std::string text = "student";
    for (const LessonColumn& lesson : lessons_)
        text += "," + csvCell(lesson.label()) + "," + lesson.number() + " attempts";
    text += "\r\n";
    for (const SummaryStudent& student : students_) {
        text += csvCell(student.name);
        for (const SummaryCell& cell : student.cells)
            text += "," + (cell.tried() ? percentText(cell.best) : std::string()) + "," +
                    std::to_string(cell.attempts);
        text += "\r\n";
    }
    return text;
}

} // namespace lorvenna

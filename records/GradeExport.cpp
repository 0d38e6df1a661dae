// Export files of the grade list and its printed pages.
#include "records/GradeExport.h"

#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/LineMatcher.h"
#include "platform/Printer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace lorvenna {

namespace {

constexpr int kLinesPerPage = 40;
constexpr int kFirstLineBelowHeading = 120;
constexpr int kLineStep = 16;
// The heading stands this far below the printable area's top.
constexpr int kHeadingBelowTop = 10;

struct LessonBest {
    long code = 0; // major * 100 + minor
    long best = 0;
};

// printf-style formatting into a string (cut at 320 bytes, more than any line here).
template <typename... Args> std::string format(const char* pattern, Args... args) {
    char text[320];
    formatText(text, pattern, args...);
    return text;
}

// The lesson of a grade line, read as "Lesson %ld-%ld" (a blank or two may come first).
bool lessonOfLine(const std::string& line, long& code) {
    long major = 0;
    long minor = 0;
    LineMatcher m(line.c_str());
    if (!m.keyword("Lesson") || !m.whole(major) || !m.exactly('-') || !m.whole(minor))
        return false;
    code = major * 100 + minor;
    return true;
}

} // namespace

ExportName exportName(std::string_view typed) {
    typed = typed.substr(0, kExportNameLength);
    typed = typed.substr(0, typed.find_first_of("\r\n"));
    ExportName result;
    if (typed.empty())
        return result;
    result.name.assign(typed);
    for (char& c : result.name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    result.commaSeparated = result.name.find(".CSV") != std::string::npos;
    if (!result.commaSeparated && result.name.find(".TXT") == std::string::npos)
        result.name += ".TXT";
    return result;
}

std::vector<long> bestPercentages(const std::vector<std::string>& lines) {
    std::vector<LessonBest> lessons;
    for (const std::string& line : lines) {
        long code = 0;
        if (!lessonOfLine(line, code))
            continue;
        if (lessons.empty() || lessons.back().code != code)
            lessons.push_back({code, 0});
    }
    for (const std::string& line : lines) {
        // " Lesson %ld-%ld -- Date %ld/%ld/%ld -- [ %ld%"
        long major = 0, minor = 0, month = 0, day = 0, year = 0, percent = 0;
        LineMatcher m(line.c_str());
        if (line.find('%') == std::string::npos || !m.keyword("Lesson") || !m.whole(major) ||
            !m.exactly('-') || !m.whole(minor) || !m.keyword("--") || !m.keyword("Date") ||
            !m.whole(month) || !m.exactly('/') || !m.whole(day) || !m.exactly('/') ||
            !m.whole(year) || !m.keyword("--") || !m.keyword("[") || !m.whole(percent))
            continue;
        for (LessonBest& lesson : lessons) {
            if (lesson.code == major * 100 + minor)
                lesson.best = std::max(lesson.best, percent);
        }
    }
    std::vector<long> best;
    for (const LessonBest& lesson : lessons)
        best.push_back(lesson.best);
    return best;
}

std::string plainExport(const std::vector<std::string>& lines, std::string_view studentId) {
    std::string text = "\r\n\r\nGrades from Lorvenna software\r\n";
    text += "for student ";
    text += studentId;
    text += ":\r\n";
    if (lines.empty())
        text += "\r\n [No grades selected from list.]\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string commaSeparatedExport(const std::vector<std::string>& lines,
                                 std::string_view studentId) {
    std::string row(studentId);
    row += " , ";
    for (long best : bestPercentages(lines))
        row += format("%ld, ", best);
    row += "\r\n";
    return row;
}

ExportResult exportGrades(std::string_view typed, const std::vector<std::string>& lines,
                          std::string_view studentId) {
    const ExportName target = exportName(typed);
    if (target.name.empty())
        return ExportResult::NoName;
    [[maybe_unused]] CriticalErrorGuard guard;
    if (fileExists(target.name))
        return ExportResult::Exists;
    const std::string bytes = target.commaSeparated ? commaSeparatedExport(lines, studentId)
                                                    : plainExport(lines, studentId);
    if (writeNewFile(target.name, bytes.data(), bytes.size()))
        return ExportResult::Written;
    // Made by someone else between the test above and the write.
    return lastFileError() == FileError::AlreadyExists ? ExportResult::Exists
                                                       : ExportResult::Failed;
}

std::vector<PrintedLine> gradePrintLayout(const std::vector<std::string>& lines,
                                          std::string_view studentId, const LocalTime& date,
                                          int top, int left, int scale) {
    std::vector<PrintedLine> printed;
    if (lines.empty())
        return printed;
    const std::string id(studentId);
    const long pages = (static_cast<long>(lines.size()) + kLinesPerPage - 1) / kLinesPerPage;
    const std::string heading =
        lines.size() < static_cast<std::size_t>(kLinesPerPage)
            ? format("Grades as of %d/%d/%d, for Student %s\n", date.month, date.day, date.year,
                     id.c_str())
            : format("Grades as of %d/%d/%d, for Student %s [page %ld of %ld]", date.month,
                     date.day, date.year, id.c_str(), 1L, pages);
    printed.push_back({1, left, top, heading});
    int page = 1;
    int k = 0;
    for (const std::string& line : lines) {
        if (k == kLinesPerPage) {
            ++page;
            k = 0;
            printed.push_back({page, left, top,
                               format("Grades, as of %d/%d/%d, Student %s [page %d of %ld]",
                                      date.month, date.day, date.year, id.c_str(), page, pages)});
        }
        printed.push_back({page, left, top + kFirstLineBelowHeading + kLineStep * scale * k, line});
        ++k;
    }
    return printed;
}

bool printGrades(const std::vector<std::string>& lines, std::string_view studentId) {
    if (!Printer::available())
        return false;
    if (lines.empty())
        return true;
    Printer printer;
    if (!printer.open())
        return false;
    const int screen = Printer::screenHeight();
    const int scale = std::max(1, screen > 0 ? printer.pageHeight() / screen : 1);
    int page = 1;
    for (const PrintedLine& line :
         gradePrintLayout(lines, studentId, localTime(), printer.offsetTop() + kHeadingBelowTop,
                          printer.offsetLeft(), scale)) {
        if (line.page != page) {
            printer.newPage();
            page = line.page;
        }
        printer.drawText(line.x, line.y, line.text);
    }
    return printer.close();
}

} // namespace lorvenna

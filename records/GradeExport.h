// The grade list saved to a file, as plain text or as one comma-separated row, and printed.
#pragma once

#include "platform/Clock.h"

#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

// The longest entry of the save field that is used.
inline constexpr std::size_t kExportNameLength = 37;

struct ExportName {
    std::string name; // upper case, ".TXT" added to a plain-text name; empty: none given
    bool commaSeparated = false;
};

// The file name made of what was typed in the save field: cut at the first line end and to
// 37 characters, in upper case; a name holding ".CSV" gets the comma-separated form, any
// other gets ".TXT" unless it holds it.
ExportName exportName(std::string_view typed);

// The best percentage of each lesson of the list, lessons in list order; lines without a
// percentage (altered entries, "No grades yet") count for nothing.
std::vector<long> bestPercentages(const std::vector<std::string>& lines);

// The bytes of the two forms.
std::string plainExport(const std::vector<std::string>& lines, std::string_view studentId);
std::string commaSeparatedExport(const std::vector<std::string>& lines, std::string_view studentId);

enum class ExportResult { Written, NoName, Exists, Failed };

// Writes the export file named by the save field; a file or folder of that name is never
// touched. The file is written whole or not at all.
ExportResult exportGrades(std::string_view typed, const std::vector<std::string>& lines,
                          std::string_view studentId);

// One printed line: its page (from 1) and its place in device units.
struct PrintedLine {
    int page = 1;
    int x = 0;
    int y = 0;
    std::string text;
};

// Where the grade list goes on paper: 40 lines a page under a heading with the date and
// the student. top and left are the printable area's offsets, scale the paper's height in
// screen heights.
std::vector<PrintedLine> gradePrintLayout(const std::vector<std::string>& lines,
                                          std::string_view studentId, const LocalTime& date,
                                          int top, int left, int scale);

// Prints the grade list on the default printer; false when no printer could be opened.
// An empty list prints nothing.
bool printGrades(const std::vector<std::string>& lines, std::string_view studentId);

} // namespace lorvenna

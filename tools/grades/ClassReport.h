// The class report: one self-contained web page (no script, no file or address outside it,
// charts as inline SVG) that a teacher opens in any browser and prints. Every chart has a
// title and a description, and the grid and the spread a text table beside them; shades run
// from light to dark with the score and every cell holds its number, so grey print reads.
#pragma once

#include "tools/grades/ClassSummary.h"
#include "tools/grades/GradeTable.h"

#include <string>

namespace lorvenna {

std::string classReport(const GradeTable& table, const ClassSummary& summary);

} // namespace lorvenna

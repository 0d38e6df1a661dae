// The problems of one lesson as lorvenna-check reports them, found while the player runs: the
// check reads and plays the lesson on windows of its own that nobody sees, with the page on
// screen set aside, so nothing it does reaches the page, the main window, its controller or
// its status area.
#pragma once

#include "tools/check/CourseCheck.h"

#include <string>
#include <vector>

namespace lorvenna {

struct LessonProblems {
    std::vector<Finding> findings;
    int errors = 0;
    int warnings = 0;
};

// Checks the lesson fileName (as it stands in the course's LSNS folder) of the course in
// folder. The lesson and the page on screen are as they were afterwards.
LessonProblems checkLessonAside(const std::string& folder, const std::string& fileName);

// "2 errors, 1 warning"; "no problems".
std::string problemCount(const LessonProblems& problems);

} // namespace lorvenna

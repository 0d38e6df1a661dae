// lorvenna-check --watch: the course checked again each time one of its files changes, with
// only what changed printed.
#pragma once

#include <string>
#include <vector>

namespace lorvenna {

// The findings of one check as the tool prints them, and its summary line.
struct CheckListing {
    std::vector<std::string> lines;
    std::string summary;
};

// What the next check says that the one before did not: lines that went ("fixed: " before
// them), then lines that came, then the summary when anything changed. Empty when nothing did.
// A line listed twice counts twice.
std::vector<std::string> listingChanges(const CheckListing& before, const CheckListing& after);

class CourseWatch {
public:
    // quiet: errors only, and no summary, as lorvenna-check --quiet prints them.
    CourseWatch(std::string folder, bool quiet);

    // Checks the course; the first time everything, after that only what changed.
    std::vector<std::string> recheck();

private:
    CheckListing check() const;

    std::string folder_;
    bool quiet_;
    bool checked_ = false;
    CheckListing last_;
};

// Prints the whole check, then the changes each time a file of the course changes, until
// the program is interrupted. The main window services must be installed.
int watchCourse(const std::string& folder, bool quiet);

} // namespace lorvenna

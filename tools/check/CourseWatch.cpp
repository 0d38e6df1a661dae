// lorvenna-check --watch: the course checked again each time one of its files changes.
#include "tools/check/CourseWatch.h"

#include "platform/FileSystem.h"
#include "platform/FileWatch.h"
#include "tools/check/CourseCheck.h"

#include <QCoreApplication>
#include <QTime>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

namespace lorvenna {

namespace {

// The lines of one listing not matched by a line of the other, in their order.
std::vector<std::string> unmatched(const std::vector<std::string>& lines,
                                   const std::vector<std::string>& others) {
    std::map<std::string, int> left;
    for (const std::string& line : others)
        ++left[line];
    std::vector<std::string> result;
    for (const std::string& line : lines) {
        if (left[line] > 0)
            --left[line];
        else
            result.push_back(line);
    }
    return result;
}

} // namespace

std::vector<std::string> listingChanges(const CheckListing& before, const CheckListing& after) {
    std::vector<std::string> changes;
    for (const std::string& gone : unmatched(before.lines, after.lines))
        changes.push_back("fixed: " + gone);
    for (const std::string& came : unmatched(after.lines, before.lines))
        changes.push_back(came);
    if (!changes.empty() || before.summary != after.summary) {
        if (!after.summary.empty())
            changes.push_back(after.summary);
    }
    return changes;
}

CourseWatch::CourseWatch(std::string folder, bool quiet)
    : folder_(std::move(folder)), quiet_(quiet) {}

CheckListing CourseWatch::check() const {
    CourseCheck check;
    check.run(folder_);
    CheckListing listing;
    for (const Finding& finding : check.findings()) {
        if (!quiet_ || finding.severity == Severity::Error)
            listing.lines.push_back(formatFinding(finding));
    }
    if (!quiet_)
        listing.summary = check.summary();
    return listing;
}

std::vector<std::string> CourseWatch::recheck() {
    CheckListing listing = check();
    std::vector<std::string> printed;
    if (!checked_) {
        printed = listing.lines;
        if (!listing.summary.empty())
            printed.push_back(listing.summary);
    } else {
        printed = listingChanges(last_, listing);
    }
    checked_ = true;
    last_ = std::move(listing);
    return printed;
}

int watchCourse(const std::string& folder, bool quiet) {
    CourseWatch course(folder, quiet);
    const auto print = [](const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    };
    print(course.recheck());

    std::error_code error;
    FileWatch watch([&] {
        const std::vector<std::string> changes = course.recheck();
        if (changes.empty())
            return;
        std::printf("-- %s\n", QTime::currentTime().toString("HH:mm:ss").toStdString().c_str());
        print(changes);
    });
    watch.addFolder(folder);
    for (const char* sub : {"LSNS", "BMPS", "HELP"}) {
        const std::string host = hostPath(sub);
        if (std::filesystem::is_directory(host, error))
            watch.addFolder(host);
    }
    watch.markSeen();
    const std::filesystem::path shown = std::filesystem::canonical(folder, error);
    std::fprintf(stderr, "lorvenna-check: watching %s; Ctrl+C ends\n",
                 error ? folder.c_str() : shown.c_str());
    return QCoreApplication::exec();
}

} // namespace lorvenna

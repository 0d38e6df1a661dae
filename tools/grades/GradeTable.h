// A class's grades from their key disks: the owner from each key file, and every grade file
// with its status, one row per attempt, in one table for all disks.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace lorvenna {

// What a grade file is worth. Only a valid row counts in a summary.
enum class GradeStatus {
    Valid,        // the key owner's record of the file's own lesson, its checksum holding
    Altered,      // the checksum does not hold, or the record is of another lesson
    Foreign,      // a record naming another student than the key owner
    Unregistered, // on a disk without a readable key file: nobody vouches for it
    Unreadable,   // no grade record can be read from the file
};
inline constexpr int kGradeStatusCount = 5;
const char* statusName(GradeStatus status);

struct GradeRow {
    std::string disk;    // the folder given for the disk
    std::string student; // the key owner for the owner's records, else the record's name
    long major = 0;
    long minor = 0;
    long attempt = 0; // the grade file's sequence number
    int year = 0;     // the date the record holds; 0 in an unreadable row
    int month = 0;
    int day = 0;
    // The grade file's own time of day ("14:05"; the record holds none), not vouched for;
    // empty when it is not known.
    std::string time;
    int answered = 0;
    int right = 0;
    int possible = 0;
    GradeStatus status = GradeStatus::Unreadable;
    std::string why; // for a row that is not valid

    // right * 100 / possible (0 for a record of 0 possible, as the review shows it).
    double percent() const { return possible != 0 ? right * 100.0 / possible : 0.0; }
};

struct DiskReport {
    std::string folder;
    std::string owner;              // empty when the key file could not be read
    std::string problem;            // why the key file could not be read; empty when it could
    bool keyDamaged = false;        // there is a key file, but it cannot be trusted
    std::vector<std::string> notes; // files that are no grade files, and grades the review
                                    // never reaches
};

// Reads disks without writing to them: a read-only copy serves as well as the disk itself.
// Nothing on a disk is reached through a link.
class GradeTable {
public:
    // Reads the key disk at folder (a host path): its root, or its LORVENNA folder.
    void addDisk(const std::string& folder);

    const std::vector<DiskReport>& disks() const { return disks_; }
    // Disk by disk in the order added; on each, by lesson and attempt.
    const std::vector<GradeRow>& rows() const { return rows_; }
    // How many rows have each status, indexed by GradeStatus.
    std::array<int, kGradeStatusCount> statusCounts() const;
    // Every disk found and registered, every row valid.
    bool clean() const;

    // The whole table with a header row, CR LF line ends:
    // disk,student,lesson,attempt,date,time,answered,right,possible,percent,status,why
    std::string csv() const;
    // The report of disk number index as the tool prints it, control characters escaped.
    std::string describe(std::size_t index) const;
    // "3 valid, 1 altered, 0 foreign, 0 unregistered, 0 unreadable"
    std::string countLine() const;

private:
    std::vector<DiskReport> disks_;
    std::vector<std::string> roots_; // each disk's real root folder; empty when not read
    std::vector<GradeRow> rows_;
};

} // namespace lorvenna

// A class's grades from their key disks: the owner from each key file, every grade file with
// its verified checksum, the grade review's own lines, and one table for all disks.
#pragma once

#include <string>
#include <vector>

namespace lorvenna {

struct GradeRow {
    std::string student; // the key owner for the owner's records, else the record's name
    long major = 0;
    long minor = 0;
    long attempt = 0; // the grade file's sequence number
    int year = 0;
    int month = 0;
    int day = 0;
    int answered = 0;
    int right = 0;
    int possible = 0;
    bool valid = false; // the checksum holds and the record is of the file's lesson
};

struct DiskReport {
    std::string folder;
    std::string owner;                    // empty when the key file could not be read
    std::string problem;                  // why the key file could not be read; empty when it could
    std::vector<std::string> reviewLines; // as the grade review lists them
    std::string otherOwners;              // the review's "Disk also contains grades from:"
    std::vector<std::string> notes;       // files the review cannot read or never reaches
};

// Reads disks without writing to them: a read-only copy serves as well as the disk itself.
class GradeTable {
public:
    // Reads the key disk at folder (a host path): its root, or its LORVENNA folder.
    void addDisk(const std::string& folder);

    const std::vector<DiskReport>& disks() const { return disks_; }
    const std::vector<GradeRow>& rows() const { return rows_; }
    // Every disk registered, every grade file read, every record valid.
    bool clean() const;

    // The whole table with a header row, CR LF line ends:
    // student,lesson,attempt,date,answered,right,possible,percent,status
    std::string csv() const;
    // The report of one disk as the tool prints it.
    static std::string describe(const DiskReport& disk);

private:
    std::vector<DiskReport> disks_;
    std::vector<GradeRow> rows_;
};

} // namespace lorvenna

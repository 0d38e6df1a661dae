// A class's grades from their key disks.
#include "tools/grades/GradeTable.h"

#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "records/GradeRecord.h"
#include "records/GradeScan.h"
#include "records/KeyDisk.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace lorvenna {

namespace {

// The letter a disk is read under: the program names disks by drive letters.
constexpr char kDiskLetter = 'K';
constexpr const char* kDrivesVariable = "LORVENNA_DRIVES";
constexpr const char* kKeyName = "K:\\LORVENNA\\KEY.GRD";
constexpr const char* kGradePattern = "K:\\LORVENNA\\L*.GRD";

// Makes folder the removable drive K for its life, and puts the drive list back afterwards.
class DiskAsDrive {
public:
    explicit DiskAsDrive(const std::string& folder) {
        if (const char* before = std::getenv(kDrivesVariable))
            previous_ = before;
        const std::string list = std::string(1, kDiskLetter) + "=" + folder;
        setenv(kDrivesVariable, list.c_str(), 1);
    }
    ~DiskAsDrive() {
        if (previous_)
            setenv(kDrivesVariable, previous_->c_str(), 1);
        else
            unsetenv(kDrivesVariable);
    }
    DiskAsDrive(const DiskAsDrive&) = delete;
    DiskAsDrive& operator=(const DiskAsDrive&) = delete;

private:
    std::optional<std::string> previous_;
};

struct GradeFileName {
    long major = 0;
    long minor = 0;
    long sequence = 0;
};

// "L01-02S003.GRD" as the player names grade files; nothing else.
bool parseGradeFileName(const std::string& name, GradeFileName& parsed) {
    if (name.size() < 2 || foldCase(name[0]) != 'l')
        return false;
    if (!lessonNumbersFromFileName(name.substr(1), parsed.major, parsed.minor))
        return false;
    const std::size_t s = name.find_first_of("sS", 1);
    if (s == std::string::npos)
        return false;
    char* end = nullptr;
    parsed.sequence = std::strtol(name.c_str() + s + 1, &end, 10);
    if (parsed.sequence < 1 || parsed.sequence > 999)
        return false;
    const std::string formed =
        gradeFileName(kDiskLetter, parsed.major, parsed.minor, parsed.sequence);
    return equalsIgnoringCase(formed.substr(formed.find_last_of('\\') + 1), name);
}

// The disk's root: the folder itself, or the parent of a LORVENNA folder given instead.
std::string diskRoot(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path path = fs::absolute(folder, error);
    if (equalsIgnoringCase(path.filename().string(), "LORVENNA"))
        return path.parent_path().string();
    if (path.filename().empty()) // "disk/"
        path = path.parent_path();
    if (equalsIgnoringCase(path.filename().string(), "LORVENNA"))
        return path.parent_path().string();
    return path.string();
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string shownName(const GradeFileName& file) {
    const std::string formed = gradeFileName(kDiskLetter, file.major, file.minor, file.sequence);
    return "LORVENNA/" + formed.substr(formed.find_last_of('\\') + 1);
}

GradeRow rowOf(const GradeRecord& record, const GradeFileName& file, const std::string& owner) {
    GradeRow row;
    row.student = !owner.empty() && record.belongsTo(owner) ? owner : record.storedName();
    row.major = file.major;
    row.minor = file.minor;
    row.attempt = file.sequence;
    row.year = record.year;
    row.month = record.month;
    row.day = record.day;
    row.answered = record.answered;
    row.right = record.right;
    row.possible = record.possible;
    row.valid = record.validFor(file.major, file.minor);
    return row;
}

} // namespace

void GradeTable::addDisk(const std::string& folder) {
    DiskReport& disk = disks_.emplace_back();
    disk.folder = folder;
    const std::string root = diskRoot(folder);
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        disk.problem = "No such folder.";
        return;
    }
    // The drive list separates its entries with ';'.
    if (root.find(';') != std::string::npos) {
        disk.problem = "A folder whose name holds ';' cannot be read as a disk.";
        return;
    }

    DiskAsDrive drive(root);
    // The disk's owner, as the grade review reads it; the player's session is not touched.
    Student student;
    student.keyDrive = kDiskLetter;
    const KeyDiskCode key =
        fileExists(kKeyName) ? readKeyRecord(student, kKeyName) : KeyDiskCode::NotRegistered;
    if (key == KeyDiskCode::KeyRead) {
        disk.owner = student.keyId;
        setText(student.studentId, disk.owner);
    } else if (key == KeyDiskCode::WrongPassword) { // damaged lengths
        disk.problem = "The key file LORVENNA/KEY.GRD is damaged.";
    } else {
        disk.problem = "A disk is present but not registered for Lorvenna.";
    }

    // Every grade file on the disk, by lesson and sequence number.
    std::map<std::pair<long, long>, std::map<long, GradeFileName>> lessons;
    for (const std::string& name : findFiles(kGradePattern)) {
        GradeFileName parsed;
        if (parseGradeFileName(name, parsed))
            lessons[{parsed.major, parsed.minor}][parsed.sequence] = parsed;
        else if (!equalsIgnoringCase(name, "KEY.GRD"))
            disk.notes.push_back("LORVENNA/" + name + ": not a grade file name");
    }

    GradeScan review(disk.reviewLines, student);
    for (const auto& [lesson, files] : lessons) {
        const auto [major, minor] = lesson;
        // The files the review reads, then those it never reaches.
        std::set<long> read;
        const long stop = visitGradeFiles(
            kDiskLetter, major, minor, [&](long sequence, const GradeRecord& record) {
                rows_.push_back(rowOf(record,
                                      files.count(sequence) ? files.at(sequence)
                                                            : GradeFileName{major, minor, sequence},
                                      disk.owner));
                read.insert(sequence);
            });
        for (const auto& [sequence, file] : files) {
            if (read.count(sequence))
                continue;
            GradeRecord record;
            if (!readGradeFile(gradeFileName(kDiskLetter, major, minor, sequence), record)) {
                disk.notes.push_back(shownName(file) + ": shorter than a grade record, unreadable");
                continue;
            }
            rows_.push_back(rowOf(record, file, disk.owner));
            disk.notes.push_back(shownName(file) +
                                 ": not listed by the grade review, which stops at " +
                                 shownName({major, minor, stop}));
        }
        if (!disk.owner.empty())
            review.scanLesson(major, minor);
    }
    disk.otherOwners = review.otherOwners();
    // The review's list is sorted as a list box sorts: alphabetically, ignoring case.
    std::stable_sort(disk.reviewLines.begin(), disk.reviewLines.end(),
                     [](const std::string& a, const std::string& b) { return lessFolded(a, b); });
}

bool GradeTable::clean() const {
    for (const DiskReport& disk : disks_) {
        if (!disk.problem.empty() || !disk.notes.empty())
            return false;
    }
    return std::all_of(rows_.begin(), rows_.end(), [](const GradeRow& row) { return row.valid; });
}

std::string GradeTable::csv() const {
    std::string text = "student,lesson,attempt,date,answered,right,possible,percent,status\r\n";
    for (const GradeRow& row : rows_) {
        // A record cannot hold 0 possible unless it was made by hand; it shows 0 percent, as
        // in the review.
        const double percent = row.possible != 0 ? row.right * 100.0 / row.possible : 0.0;
        char fields[160];
        std::snprintf(fields, sizeof fields, ",%.2ld-%.2ld,%ld,%04d-%02d-%02d,%d,%d,%d,%.1f,%s\r\n",
                      row.major, row.minor, row.attempt, row.year, row.month, row.day, row.answered,
                      row.right, row.possible, percent, row.valid ? "valid" : "altered");
        text += csvField(row.student) + fields;
    }
    return text;
}

std::string GradeTable::describe(const DiskReport& disk) {
    std::string text = disk.folder + ": ";
    text += disk.owner.empty() ? disk.problem : "student " + disk.owner;
    text += "\n";
    for (const std::string& line : disk.reviewLines)
        text += "  " + line + "\n";
    if (!disk.otherOwners.empty())
        text += "  Disk also contains grades from: " + disk.otherOwners + "\n";
    for (const std::string& note : disk.notes)
        text += "  " + note + "\n";
    return text;
}

} // namespace lorvenna

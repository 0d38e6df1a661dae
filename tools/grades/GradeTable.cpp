// A class's grades from their key disks.
#include "tools/grades/GradeTable.h"

#include "platform/FileSystem.h"
#include "platform/HostNames.h"
#include "platform/IgnoreCase.h"
#include "records/GradeRecord.h"
#include "records/GradeScan.h"
#include "records/KeyDisk.h"
#include "tools/grades/SafeText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <tuple>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvenna {

namespace {

// The letter a disk is read under: the program names disks by drive letters.
constexpr char kDiskLetter = 'K';
constexpr const char* kDrivesVariable = "LORVENNA_DRIVES";
constexpr const char* kKeyName = "K:\\LORVENNA\\KEY.GRD";
constexpr const char* kFolderName = "K:\\LORVENNA";

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

bool endsWithIgnoringCase(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           equalsIgnoringCase(std::string_view(text).substr(text.size() - end.size()), end);
}

// The disk's root: the folder itself, or the parent of a LORVENNA folder given instead.
std::string diskRoot(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path path = fs::absolute(folder, error);
    if (path.filename().empty()) // "disk/"
        path = path.parent_path();
    if (equalsIgnoringCase(path.filename().string(), "LORVENNA"))
        return path.parent_path().string();
    return path.string();
}

std::string shownName(const GradeFileName& file) {
    const std::string formed = gradeFileName(kDiskLetter, file.major, file.minor, file.sequence);
    return "LORVENNA/" + formed.substr(formed.find_last_of('\\') + 1);
}

std::string timeOfDay(const struct stat& st) {
    std::tm local{};
    if (!::localtime_r(&st.st_mtim.tv_sec, &local))
        return {};
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", local.tm_hour % 24, local.tm_min % 60);
    return text;
}

// One entry of the LORVENNA folder, opened below it without following a link; a grade
// record is read from it only when it is a plain file of exactly a record's size, and no
// more than one byte past that is ever read.
void readEntry(int folder, const std::string& name, GradeRow& row, GradeRecord& record) {
    struct stat st;
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        row.why = "cannot be looked at";
        return;
    }
    if (S_ISLNK(st.st_mode)) {
        row.why = "a link, not followed";
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        row.why = "not a plain file";
        return;
    }
    row.time = timeOfDay(st);
    const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        row.why = "cannot be opened";
        return;
    }
    GradeRecord::Bytes bytes{};
    unsigned char past = 0;
    long got = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        while (got < GradeRecord::kSize) {
            const ssize_t n = ::read(fd, bytes.data() + got, GradeRecord::kSize - got);
            if (n <= 0)
                break;
            got += n;
        }
    }
    const bool longer = got == GradeRecord::kSize && ::read(fd, &past, 1) == 1;
    ::close(fd);
    if (got < GradeRecord::kSize) {
        row.why = "shorter than a grade record";
        return;
    }
    record = GradeRecord::fromDisk(bytes);
    row.year = record.year;
    row.month = record.month;
    row.day = record.day;
    row.answered = record.answered;
    row.right = record.right;
    row.possible = record.possible;
    row.status = GradeStatus::Valid;
    if (longer) {
        row.status = GradeStatus::Altered;
        row.why = "longer than a grade record";
    }
}

// The status of a record read whole, on a disk whose owner is known (or not).
void judge(const GradeRecord& record, const DiskReport& disk, const GradeFileName& file,
           GradeRow& row) {
    row.student =
        !disk.owner.empty() && record.belongsTo(disk.owner) ? disk.owner : record.storedName();
    if (row.status != GradeStatus::Valid)
        return;
    if (!record.checksumHolds()) {
        row.status = GradeStatus::Altered;
        row.why = "the checksum does not hold";
        return;
    }
    if (!record.validFor(file.major, file.minor)) {
        row.status = GradeStatus::Altered;
        char why[96];
        std::snprintf(why, sizeof why, "a record of lesson %.2d-%.2d under this lesson's name",
                      record.lessonCode / 100, record.lessonCode % 100);
        row.why = why;
        return;
    }
    if (disk.owner.empty()) {
        row.status = GradeStatus::Unregistered;
        row.why = disk.keyDamaged ? "the disk's key file is damaged" : "no key file on the disk";
        return;
    }
    if (!record.belongsTo(disk.owner)) {
        row.status = GradeStatus::Foreign;
        row.why = "a record of " + record.storedName() + " on the disk of " + disk.owner;
    }
}

} // namespace

const char* statusName(GradeStatus status) {
    switch (status) {
    case GradeStatus::Valid:
        return "valid";
    case GradeStatus::Altered:
        return "altered";
    case GradeStatus::Foreign:
        return "foreign";
    case GradeStatus::Unregistered:
        return "unregistered";
    case GradeStatus::Unreadable:
        return "unreadable";
    }
    return "unreadable";
}

void GradeTable::addDisk(const std::string& folder) {
    DiskReport& disk = disks_.emplace_back();
    disk.folder = folder;
    const std::string root = diskRoot(folder);
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        disk.problem = "No such folder.";
        roots_.push_back({});
        return;
    }
    // A disk given twice (its root and its LORVENNA folder, or a link to it) is read once, so
    // that no attempt counts twice.
    const std::string canonical = std::filesystem::canonical(root, error).string();
    for (std::size_t earlier = 0; earlier + 1 < disks_.size(); ++earlier) {
        if (roots_[earlier] == canonical) {
            disk.owner = disks_[earlier].owner;
            disk.problem = disks_[earlier].problem;
            disk.notes.push_back("the same disk as " + shownText(disks_[earlier].folder) +
                                 ", read once");
            roots_.push_back({});
            return;
        }
    }
    roots_.push_back(canonical);
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
    } else if (key == KeyDiskCode::WrongPassword) { // damaged lengths, or a link in its place
        disk.problem = "The key file LORVENNA/KEY.GRD is damaged.";
        disk.keyDamaged = true;
    } else {
        disk.problem = "A disk is present but not registered for Lorvenna.";
    }

    const int folderFd = openFolderBelow(root, hostPath(kFolderName));
    if (folderFd < 0) {
        if (errno == ELOOP || errno == ENOTDIR) {
            disk.owner.clear();
            disk.problem = "LORVENNA is a link or no folder: nothing on it is read.";
        }
        return;
    }
    DIR* dir = ::fdopendir(folderFd);
    if (!dir) {
        ::close(folderFd);
        return;
    }
    // Every grade file on the disk, by lesson and sequence number (both names of one attempt
    // when the disk holds it in two letter cases).
    std::map<std::tuple<long, long, long>, std::vector<std::string>> files;
    std::vector<std::string> strangers;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        GradeFileName parsed;
        if (parseGradeFileName(name, parsed))
            files[{parsed.major, parsed.minor, parsed.sequence}].push_back(name);
        else if (endsWithIgnoringCase(name, ".GRD") && !equalsIgnoringCase(name, "KEY.GRD"))
            strangers.push_back(name);
    }
    std::sort(strangers.begin(), strangers.end(), lessFolded);
    for (const std::string& name : strangers)
        disk.notes.push_back("LORVENNA/" + shownText(name) + ": not a grade file name");

    // The review reads each lesson's files from 1 up to the first it cannot read.
    std::map<std::pair<long, long>, long> reviewStops;
    for (const auto& [key, names] : files) {
        const auto [major, minor, sequence] = key;
        const GradeFileName file{major, minor, sequence};
        for (const std::string& name : names) {
            GradeRow& row = rows_.emplace_back();
            row.disk = folder;
            row.major = major;
            row.minor = minor;
            row.attempt = sequence;
            row.student = disk.owner;
            GradeRecord record;
            readEntry(::dirfd(dir), name, row, record);
            if (row.status == GradeStatus::Unreadable)
                continue;
            judge(record, disk, file, row);
            long& stop = reviewStops.try_emplace({major, minor}, 1).first->second;
            if (stop == sequence)
                ++stop;
        }
    }
    ::closedir(dir);
    for (const auto& [key, names] : files) {
        const auto [major, minor, sequence] = key;
        const long stop = reviewStops.count({major, minor}) ? reviewStops[{major, minor}] : 1;
        if (sequence > stop)
            disk.notes.push_back(shownName({major, minor, sequence}) +
                                 ": not listed by the grade review, which stops at " +
                                 shownName({major, minor, stop}));
    }
}

std::array<int, kGradeStatusCount> GradeTable::statusCounts() const {
    std::array<int, kGradeStatusCount> counts{};
    for (const GradeRow& row : rows_)
        ++counts[static_cast<int>(row.status)];
    return counts;
}

bool GradeTable::clean() const {
    for (const DiskReport& disk : disks_) {
        if (disk.owner.empty())
            return false;
    }
    return std::all_of(rows_.begin(), rows_.end(),
                       [](const GradeRow& row) { return row.status == GradeStatus::Valid; });
}

std::string GradeTable::csv() const {
    std::string text =
        "disk,student,lesson,attempt,date,time,answered,right,possible,percent,status,why\r\n";
    for (const GradeRow& row : rows_) {
        char lesson[48];
        std::snprintf(lesson, sizeof lesson, ",%.2ld-%.2ld,%ld,", row.major, row.minor,
                      row.attempt);
        text += csvCell(row.disk) + "," + csvCell(row.student) + lesson;
        if (row.status == GradeStatus::Unreadable) {
            text += ",";
            text += row.time + ",,,,,";
        } else {
            char fields[96];
            std::snprintf(fields, sizeof fields, "%04d-%02d-%02d,%s,%d,%d,%d,%.1f,", row.year,
                          row.month, row.day, row.time.c_str(), row.answered, row.right,
                          row.possible, row.percent());
            text += fields;
        }
        text += std::string(statusName(row.status)) + "," + csvCell(row.why) + "\r\n";
    }
    return text;
}

std::string GradeTable::describe(std::size_t index) const {
    const DiskReport& disk = disks_.at(index);
    std::string text = shownText(disk.folder) + ": ";
    text += disk.owner.empty() ? disk.problem : "student " + shownText(disk.owner);
    text += "\n";
    for (const GradeRow& row : rows_) {
        if (row.disk != disk.folder || roots_[index].empty())
            continue;
        char line[160];
        if (row.status == GradeStatus::Unreadable) {
            std::snprintf(line, sizeof line, "  %.2ld-%.2ld attempt %-3ld ", row.major, row.minor,
                          row.attempt);
        } else {
            std::snprintf(line, sizeof line,
                          "  %.2ld-%.2ld attempt %-3ld %04d-%02d-%02d %-5s %5.1f%% "
                          "(%d right of %d, %d answered) ",
                          row.major, row.minor, row.attempt, row.year, row.month, row.day,
                          row.time.c_str(), row.percent(), row.right, row.possible, row.answered);
        }
        text += line;
        text += statusName(row.status);
        if (!row.why.empty())
            text += ": " + shownText(row.why);
        if (row.student != disk.owner)
            text += " [" + shownText(row.student) + "]";
        text += "\n";
    }
    for (const std::string& note : disk.notes)
        text += "  " + note + "\n";
    return text;
}

std::string GradeTable::countLine() const {
    const auto counts = statusCounts();
    std::string line;
    for (int status = 0; status < kGradeStatusCount; ++status) {
        if (!line.empty())
            line += ", ";
        line += std::to_string(counts[status]) + " " + statusName(static_cast<GradeStatus>(status));
    }
    return line;
}

} // namespace lorvenna

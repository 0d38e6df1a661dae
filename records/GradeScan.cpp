// The grade scan: grade files read back into the lines of the grade listing.
#include "records/GradeScan.h"

#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "records/GradeRecord.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace lorvenna {

namespace {

constexpr std::size_t kOwnersCapacity = 2047;
constexpr long kLastSequence = 999;

std::string formatLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatLine(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    return line;
}

long parseNumber(std::string_view text, std::size_t& at) {
    long value = 0;
    const std::size_t start = at;
    // Nine digits at most: larger numbers are no lesson numbers and would overflow.
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 9)
        value = value * 10 + (text[at++] - '0');
    return at == start ? -1 : value;
}

} // namespace

bool readGradeFile(const std::string& name, GradeRecord& record) {
    if (!fileExists(name))
        return false;
    FileHandle file = openForReading(name);
    GradeRecord::Bytes bytes{};
    const long got = readBytes(file, bytes.data(), GradeRecord::kSize);
    closeFile(file);
    if (got < GradeRecord::kSize)
        return false;
    record = GradeRecord::fromDisk(bytes);
    return true;
}

void GradeScan::addOtherOwner(std::string_view name) {
    std::string addition;
    if (name.empty()) {
        addition = "<unknown>";
    } else if (otherOwners_.empty()) {
        addition = std::string(name);
    } else if (otherOwners_.find(name) == std::string::npos) {
        addition = " and " + std::string(name);
    }
    // A name that does not fit is left out whole rather than cut into another name.
    if (addition.empty() || otherOwners_.size() + addition.size() > kOwnersCapacity)
        return;
    otherOwners_ += addition;
}

bool lessonNumbersFromFileName(std::string_view fileName, long& major, long& minor) {
    std::size_t at = 0;
    const long first = parseNumber(fileName, at);
    if (first < 0 || at >= fileName.size() || fileName[at] != '-')
        return false;
    ++at;
    const long second = parseNumber(fileName, at);
    if (second < 0)
        return false;
    major = first;
    minor = second;
    return true;
}

void GradeScan::addLine(std::string line) {
    lines_.push_back(std::move(line));
    if (lineAdded_)
        lineAdded_();
}

long visitGradeFiles(char drive, long major, long minor,
                     const std::function<void(long sequence, const GradeRecord&)>& visit) {
    // Without a key drive there are no grade files to read.
    if (drive < 'A' || drive > 'Z')
        return 1;
    long sequence = 1;
    for (; sequence <= kLastSequence; ++sequence) {
        GradeRecord record;
        // A gap in the sequence numbers ends the lesson's grades.
        if (!readGradeFile(gradeFileName(drive, major, minor, sequence), record))
            break;
        visit(sequence, record);
    }
    return sequence;
}

int GradeScan::scanLesson(long major, long minor) {
    [[maybe_unused]] CriticalErrorGuard guard;
    const std::string_view owner = fieldView(owner_.studentId);
    int added = 0;
    bool anyValid = false;
    visitGradeFiles(owner_.keyDrive, major, minor, [&](long, const GradeRecord& record) {
        if (!record.belongsTo(owner)) {
            addOtherOwner(record.storedName());
            return;
        }
        if (!record.validFor(major, minor)) {
            addLine(formatLine("Lesson %.2ld-%.2ld, !!!!! ALTERED ENTRY !!!!!", major, minor));
            ++added;
            return;
        }
        anyValid = true;
        // A record cannot hold 0 possible unless it was made by hand; it shows 0 percent.
        const double percent = record.possible != 0 ? record.right * 100.0 / record.possible : 0.0;
        addLine(formatLine("Lesson %.2ld-%.2ld -- Date %2.2d/%2.2d/%2.2d -- [%4.0f%%] -- "
                           "[%3d ans, %3d right, %3d poss]",
                           major, minor, static_cast<int>(record.month),
                           static_cast<int>(record.day), record.year % 100, percent,
                           static_cast<int>(record.answered), static_cast<int>(record.right),
                           static_cast<int>(record.possible)));
        ++added;
    });
    if (anyValid)
        ++validLessons_;
    if (!anyValid) {
        addLine(formatLine("Lesson %.2ld-%.2ld -- No grades yet --", major, minor));
        ++added;
    }
    return otherOwners_.empty() ? added : -1;
}

GradeListing GradeScan::listAllLessons() {
    clearOtherOwners();
    validLessons_ = 0;
    long lineTotal = 0;
    for (const std::string& file : findFiles("LSNS\\*.LSN")) {
        long major = 0;
        long minor = 0;
        if (!lessonNumbersFromFileName(file, major, minor))
            continue;
        const std::size_t before = lines_.size();
        scanLesson(major, minor);
        // The lines count even for lessons scanned after another student's record: that
        // record must not make the owner's own grades count for nothing.
        lineTotal += static_cast<long>(lines_.size() - before);
    }
    const bool others = !otherOwners_.empty();
    if (others)
        return validLessons_ > 0 ? GradeListing::OwnersAndOthers : GradeListing::OthersOnly;
    return lineTotal > 0 ? GradeListing::OwnersOnly : GradeListing::NoGrades;
}

} // namespace lorvenna

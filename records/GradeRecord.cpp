// The grade record: checksum, scrambling and the little-endian layout of a grade file.
#include "records/GradeRecord.h"

#include "platform/Clock.h"
#include "platform/IgnoreCase.h"
#include "platform/Random.h"
#include "records/KeyDisk.h"

#include <cstdio>
#include <cstring>

namespace lorvenna {

namespace {

constexpr int kNameAt = 16;
constexpr int kChecksumAt = 56;
constexpr int kReservedAt = 58;

void put16(GradeRecord::Bytes& bytes, int at, std::int16_t value) {
    const auto u = static_cast<std::uint16_t>(value);
    bytes[at] = static_cast<std::uint8_t>(u & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(u >> 8);
}

std::int16_t get16(const GradeRecord::Bytes& bytes, int at) {
    return static_cast<std::int16_t>(bytes[at] | (bytes[at + 1] << 8));
}

// Fields wider than 16 bits keep their low 16 bits, as the file has always held them.
std::int16_t low16(long value) {
    return static_cast<std::int16_t>(value & 0xFFFF);
}

} // namespace

GradeRecord GradeRecord::make(const LocalTime& date, long major, long minor, long answered,
                              long right, long possible, std::string_view studentId) {
    GradeRecord r;
    r.month = low16(date.month);
    r.day = low16(date.day);
    r.year = low16(date.year);
    r.lessonCode = low16(major * 100 + minor);
    r.answered = low16(answered);
    r.right = low16(right);
    r.possible = low16(possible);
    r.nameLength = low16(static_cast<long>(studentId.size()));
    const int stored = r.storedNameLength();
    for (int i = 0; i < kNameSize; ++i) {
        r.name[i] = i < stored ? static_cast<std::uint8_t>(studentId[i])
                               : static_cast<std::uint8_t>(nextRandom() & 0xFF);
    }
    r.checksum = r.computeChecksum();
    return r;
}

int GradeRecord::storedNameLength() const {
    if (nameLength < 0)
        return 0;
    return nameLength < kNameSize ? nameLength : kNameSize;
}

std::string GradeRecord::storedName() const {
    // The name is a terminated text: a zero byte in a damaged record ends it there.
    const char* text = reinterpret_cast<const char*>(name.data());
    return std::string(text, strnlen(text, static_cast<std::size_t>(storedNameLength())));
}

bool GradeRecord::belongsTo(std::string_view studentId) const {
    const std::string stored = storedName();
    if (nameLength <= kNameSize)
        return equalsIgnoringCase(stored, studentId);
    return static_cast<long>(studentId.size()) == nameLength &&
           equalsIgnoringCase(stored, studentId.substr(0, kNameSize));
}

long GradeRecord::readerSum() const {
    long sum = static_cast<long>(month) + day + year + lessonCode + answered + right + possible +
               nameLength;
    const int stored = storedNameLength();
    for (int i = 0; i < stored; ++i)
        sum += static_cast<std::int8_t>(name[i]);
    return sum;
}

std::int16_t GradeRecord::computeChecksum() const {
    return low16(readerSum());
}

bool GradeRecord::validFor(long major, long minor) const {
    return checksumHolds() && lessonCode == low16(major * 100 + minor);
}

GradeRecord::Bytes GradeRecord::toDisk() const {
    Bytes bytes{};
    const std::int16_t fields[] = {month,    day,   year,     lessonCode,
                                   answered, right, possible, nameLength};
    for (int i = 0; i < 8; ++i)
        put16(bytes, 2 * i, fields[i]);
    for (int i = 0; i < kNameSize; ++i)
        bytes[kNameAt + i] = name[i];
    put16(bytes, kChecksumAt, checksum);
    put16(bytes, kReservedAt, reserved);
    scramble(bytes.data(), kSize);
    return bytes;
}

GradeRecord GradeRecord::fromDisk(const Bytes& scrambled) {
    Bytes bytes = scrambled;
    scramble(bytes.data(), kSize);
    GradeRecord r;
    std::int16_t* fields[] = {&r.month,    &r.day,   &r.year,     &r.lessonCode,
                              &r.answered, &r.right, &r.possible, &r.nameLength};
    for (int i = 0; i < 8; ++i)
        *fields[i] = get16(bytes, 2 * i);
    for (int i = 0; i < kNameSize; ++i)
        r.name[i] = bytes[kNameAt + i];
    r.checksum = get16(bytes, kChecksumAt);
    r.reserved = get16(bytes, kReservedAt);
    return r;
}

std::string gradeFileName(char drive, long major, long minor, long sequence) {
    char name[64];
    std::snprintf(name, sizeof name, "%c:\\LORVENNA\\L%.2ld-%.2ldS%3.3ld.GRD", drive, major, minor,
                  sequence);
    return name;
}

} // namespace lorvenna

// The 60-byte grade record of one lesson attempt: building it, its checksum, its bytes on
// disk (scrambled, 16-bit fields little-endian) and reading it back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lorvenna {

struct LocalTime;

class GradeRecord {
public:
    static constexpr int kSize = 60;
    static constexpr int kNameSize = 40;
    using Bytes = std::array<std::uint8_t, kSize>;

    std::int16_t month = 0;
    std::int16_t day = 0;
    std::int16_t year = 0;
    std::int16_t lessonCode = 0; // major * 100 + minor
    std::int16_t answered = 0;
    std::int16_t right = 0;
    std::int16_t possible = 0;
    std::int16_t nameLength = 0; // the whole ID's length, which may exceed the name field
    std::array<std::uint8_t, kNameSize> name{};
    std::int16_t checksum = 0;
    std::int16_t reserved = 0;

    // A record of an attempt: the first 40 characters of the ID in the name field, the rest
    // of the field filled from the pseudo-random generator, and the checksum set.
    static GradeRecord make(const LocalTime& date, long major, long minor, long answered,
                            long right, long possible, std::string_view studentId);

    // The checksum as written: the low 16 bits of the eight fields and the stored ID
    // characters, each taken as signed.
    std::int16_t computeChecksum() const;

    // How many bytes of the name field hold the name: the name length, kept within the
    // field (a negative length holds none).
    int storedNameLength() const;
    // The record's name: those bytes up to the first zero byte.
    std::string storedName() const;
    // True when the record is the student's: the names agree ignoring case. A name longer
    // than the field agrees when its length is the ID's and the stored part is the ID's
    // beginning.
    bool belongsTo(std::string_view studentId) const;
    // The full sum of the fields and the stored name characters.
    long readerSum() const;
    // The checksum as it is written, low 16 bits against the stored one: a lesson numbered
    // 328 or more, or a long ID, sums past 16 bits and still holds.
    bool checksumHolds() const { return computeChecksum() == checksum; }
    // A record is valid only in the grade file of its own lesson: its checksum holds and
    // the lesson code it holds is the one the file is named for, so a grade copied to another
    // lesson's name is no grade of that lesson. (The record holds no attempt number.)
    bool validFor(long major, long minor) const;

    // The scrambled bytes as they go to disk, and a record from such bytes.
    Bytes toDisk() const;
    static GradeRecord fromDisk(const Bytes& bytes);
};

// "%c:\LORVENNA\L%.2ld-%.2ldS%3.3ld.GRD"
std::string gradeFileName(char drive, long major, long minor, long sequence);

} // namespace lorvenna

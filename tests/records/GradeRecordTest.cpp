// The grade record: its 60 bytes, the checksum and the name field.
#include "records/GradeRecord.h"

#include "platform/Clock.h"
#include "platform/Random.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvenna {

namespace {

GradeRecord kimRecord() {
    seedRandom(1);
    return GradeRecord::make(LocalTime{2009, 5, 7, 10, 0, 0}, 3, 12, 10, 8, 10, "Kim42");
}

GradeRecord::Bytes plainOf(const GradeRecord::Bytes& disk) {
    const std::string key("Keep the disk dry and labelled.\0", 32);
    GradeRecord::Bytes plain = disk;
    for (int i = 0; i < GradeRecord::kSize; ++i)
        plain[i] ^= static_cast<std::uint8_t>(key[i % 32]);
    return plain;
}

} // namespace

TEST(GradeRecord, BytesOnDiskMatchAHandComputedRecord) {
    // 7 May 2009, lesson 3-12, 10 answered, 8 right, 10 possible, "Kim42"; the name field's
    // fill from the generator seeded with 1; checksum 5+7+2009+312+10+8+10+5 plus the
    // five characters (391) = 2757 = 0x0AC5.
    const unsigned char expected[GradeRecord::kSize] = {
        0x4E, 0x65, 0x62, 0x70, 0xF9, 0x73, 0x50, 0x64, 0x2A, 0x64, 0x61, 0x73, 0x61, 0x20, 0x61,
        0x72, 0x32, 0x49, 0x0C, 0x5A, 0x56, 0x09, 0x4F, 0xDF, 0xE6, 0x84, 0x00, 0xBA, 0xCB, 0x36,
        0xBE, 0x49, 0xBA, 0x94, 0xDE, 0x99, 0xCB, 0xC7, 0xCE, 0xBE, 0x1C, 0xE3, 0x65, 0x4D, 0xF2,
        0x04, 0x3A, 0x7F, 0x65, 0x26, 0xD6, 0x29, 0xBA, 0x93, 0x7E, 0x2C, 0xA7, 0x6F, 0x6C, 0x6C};
    const GradeRecord::Bytes disk = kimRecord().toDisk();
    for (int i = 0; i < GradeRecord::kSize; ++i)
        EXPECT_EQ(disk[i], expected[i]) << "byte " << i;

    // The same, plainly: little-endian fields, the name, checksum and a zero reserved word.
    const unsigned char fields[] = {0x05, 0x00, 0x07, 0x00, 0xD9, 0x07, 0x38,
                                    0x01, 0x0A, 0x00, 0x08, 0x00, 0x0A, 0x00,
                                    0x05, 0x00, 'K',  'i',  'm',  '4',  '2'};
    const GradeRecord::Bytes plain = plainOf(disk);
    for (std::size_t i = 0; i < sizeof fields; ++i)
        EXPECT_EQ(plain[i], fields[i]) << "byte " << i;
    EXPECT_EQ(plain[56], 0xC5);
    EXPECT_EQ(plain[57], 0x0A);
    EXPECT_EQ(plain[58], 0x00);
    EXPECT_EQ(plain[59], 0x00);
}

TEST(GradeRecord, ReadsBackWhatWasWritten) {
    const GradeRecord read = GradeRecord::fromDisk(kimRecord().toDisk());
    EXPECT_EQ(read.month, 5);
    EXPECT_EQ(read.day, 7);
    EXPECT_EQ(read.year, 2009);
    EXPECT_EQ(read.lessonCode, 312);
    EXPECT_EQ(read.answered, 10);
    EXPECT_EQ(read.right, 8);
    EXPECT_EQ(read.possible, 10);
    EXPECT_EQ(read.storedName(), "Kim42");
    EXPECT_TRUE(read.checksumHolds());
}

TEST(GradeRecord, EveryChangedFieldByteBreaksTheChecksumButFillDoesNot) {
    const GradeRecord::Bytes disk = kimRecord().toDisk();
    // The fields, the stored name and the checksum are covered.
    for (int at : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16, 20, 56, 57}) {
        GradeRecord::Bytes changed = disk;
        changed[at] ^= 0x01;
        EXPECT_FALSE(GradeRecord::fromDisk(changed).checksumHolds()) << "byte " << at;
    }
    // The fill after the name and the reserved word are not.
    for (int at : {21, 40, 55, 58, 59}) {
        GradeRecord::Bytes changed = disk;
        changed[at] ^= 0x5A;
        EXPECT_TRUE(GradeRecord::fromDisk(changed).checksumHolds()) << "byte " << at;
    }
}

// Lesson 320-01 with the longest ID sums past 16 bits: the checksum holds as it was written,
// and the record is valid for its own lesson only.
TEST(GradeRecord, ValidForItsOwnLessonWhateverItsSum) {
    const GradeRecord read = GradeRecord::fromDisk(
        GradeRecord::make(LocalTime{2026, 12, 9}, 320, 1, 10, 10, 10, std::string(58, 'z'))
            .toDisk());
    EXPECT_GT(read.readerSum(), 32767);
    EXPECT_TRUE(read.validFor(320, 1));
    EXPECT_FALSE(read.validFor(7, 7));
    EXPECT_FALSE(read.validFor(320, 2));
}

TEST(GradeRecord, LongNamesStayInTheField) {
    const std::string id = "A" + std::string(45, 'b') + "Cd"; // 48 characters
    seedRandom(7);
    const GradeRecord record = GradeRecord::make(LocalTime{2024, 1, 2}, 1, 2, 3, 2, 3, id);
    EXPECT_EQ(record.nameLength, 48);
    EXPECT_EQ(record.storedName(), id.substr(0, 40));

    const GradeRecord read = GradeRecord::fromDisk(record.toDisk());
    EXPECT_TRUE(read.checksumHolds());
    // The whole ID is the owner's, in any letter case; an ID that only begins alike is not.
    // (Two IDs of one length that differ only after the 40th character cannot be told apart:
    // the record does not hold their ends.)
    EXPECT_TRUE(read.belongsTo(id));
    EXPECT_TRUE(read.belongsTo("a" + std::string(45, 'B') + "cD"));
    EXPECT_FALSE(read.belongsTo(id.substr(0, 40)));
    EXPECT_FALSE(read.belongsTo(id.substr(0, 40) + "zzzzz"));
    EXPECT_FALSE(read.belongsTo("X" + id.substr(1)));
}

TEST(GradeRecord, OddNameLengthsNeverReachBeyondTheField) {
    GradeRecord record = kimRecord();
    record.nameLength = -3;
    EXPECT_EQ(record.storedName(), "");
    EXPECT_FALSE(record.belongsTo("Kim42"));
    record.nameLength = 32767;
    EXPECT_EQ(record.storedName().size(), 40u);
    EXPECT_FALSE(record.belongsTo("Kim42"));
}

TEST(GradeRecord, FileNamesAreFormedWithTwoAndThreeDigits) {
    EXPECT_EQ(gradeFileName('E', 3, 12, 3), "E:\\LORVENNA\\L03-12S003.GRD");
    EXPECT_EQ(gradeFileName('F', 1, 2, 999), "F:\\LORVENNA\\L01-02S999.GRD");
    EXPECT_EQ(gradeFileName('E', 123, 4, 45), "E:\\LORVENNA\\L123-04S045.GRD");
}

} // namespace lorvenna

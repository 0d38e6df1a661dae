// The key disk: drive detection, the 256-byte key file and the password check.
#include "records/KeyDisk.h"

#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/Random.h"

#include <array>
#include <cstring>
#include <string>
#include <string_view>

namespace lorvenna {

namespace {

// Key record offsets: the two length bytes, then password and ID without terminators.
constexpr int kPasswordLengthAt = 0;
constexpr int kIdLengthAt = 1;
constexpr int kTextAt = 2;
static_assert(kTextAt + kMaxPasswordLength + kMaxIdLength <= kKeyRecordSize);
static_assert(kMaxPasswordLength < sizeof Student::keyPassword);
static_assert(kMaxIdLength < sizeof Student::keyId);

std::string onDrive(char drive, const char* rest) {
    std::string name(1, drive);
    name += rest;
    return name;
}

// Only a letter found by detection names a drive; without one nothing is touched.
bool isDriveLetter(char drive) {
    return drive >= 'A' && drive <= 'Z';
}

} // namespace

void scramble(std::uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i)
        bytes[i] ^= static_cast<std::uint8_t>(kScrambleKey[i % 32]);
}

bool isLettersAndDigits(const char* text) {
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !digit)
            return false;
    }
    return true;
}

KeyDiskCode detectKeyDrive(Student& student) {
    [[maybe_unused]] CriticalErrorGuard guard;
    int removable = 0;
    int withMedium = 0;
    const std::vector<DriveInfo> drives = removableDrives();
    // Letters in order, as the drives would be tried from A to Z.
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        for (const DriveInfo& drive : drives) {
            if (drive.letter != letter)
                continue;
            ++removable;
            if (drive.hasMedium) {
                ++withMedium;
                student.keyDrive = letter;
            }
            break;
        }
    }
    if (removable == 0)
        return KeyDiskCode::NoDrive;
    if (withMedium > 1)
        return KeyDiskCode::SeveralMedia;
    if (withMedium == 0)
        return KeyDiskCode::NoMedium;
    return KeyDiskCode::OneMedium;
}

KeyDiskCode readKeyFile(Student& student) {
    [[maybe_unused]] CriticalErrorGuard guard;
    if (!isDriveLetter(student.keyDrive))
        return KeyDiskCode::NotRegistered;
    const std::string keyName = onDrive(student.keyDrive, ":\\LORVENNA\\KEY.GRD");
    const bool keyThere = fileExists(keyName);

    // A write-protected disk can neither take grades nor be registered. The probe is a new
    // file of its own, so no file of the disk, nor one a link on it points at, is touched.
    if (probeWritable(onDrive(student.keyDrive, ":\\")) == FileError::WriteProtected)
        return KeyDiskCode::WriteFailed;

    if (!keyThere)
        return KeyDiskCode::NotRegistered;
    return readKeyRecord(student, keyName);
}

KeyDiskCode readKeyRecord(Student& student, const std::string& keyName) {
    clearFileError();
    FileHandle file = openForReading(keyName);
    // A link, a pipe, a device or a folder in the key's place is refused by the file layer
    // and counts as a damaged key, not as a blank disk to register over.
    if (isInvalid(file) && lastFileError() == FileError::Other)
        return KeyDiskCode::WrongPassword;
    std::array<std::uint8_t, kKeyRecordSize> record{};
    const long got = readBytes(file, record.data(), kKeyRecordSize);
    closeFile(file);
    if (got < kKeyRecordSize)
        return KeyDiskCode::NotRegistered;

    scramble(record.data(), kKeyRecordSize);
    const int passwordLength = static_cast<std::int8_t>(record[kPasswordLengthAt]);
    const int idLength = static_cast<std::int8_t>(record[kIdLengthAt]);
    if (passwordLength < 0 || idLength < 0)
        return KeyDiskCode::WrongPassword;
    // Lengths that registration never writes mean a damaged key file, handled like a
    // negative length: nothing is copied. A password of 19 characters would fit its field,
    // yet no typed password (cut to 18) could ever match it.
    if (passwordLength > kMaxPasswordLength || idLength > kMaxIdLength)
        return KeyDiskCode::WrongPassword;

    const char* text = reinterpret_cast<const char*>(record.data()) + kTextAt;
    // Registration takes letters and digits only; a control character (a line break, an
    // escape) would reach every listing and export the ID is written to.
    for (int i = 0; i < passwordLength + idLength; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F)
            return KeyDiskCode::WrongPassword;
    }
    setText(student.keyPassword, std::string_view(text, passwordLength));
    setText(student.keyId, std::string_view(text + passwordLength, idLength));
    return KeyDiskCode::KeyRead;
}

KeyDiskCode writeKeyFile(const Student& student) {
    [[maybe_unused]] CriticalErrorGuard guard;
    if (!isDriveLetter(student.keyDrive))
        return KeyDiskCode::WriteFailed;
    if (!createFolder(onDrive(student.keyDrive, ":\\LORVENNA")) &&
        lastFileError() != FileError::AlreadyExists)
        return KeyDiskCode::WriteFailed;

    const int passwordLength = static_cast<int>(strnlen(student.typedPassword, kMaxPasswordLength));
    const int idLength = static_cast<int>(strnlen(student.studentId, kMaxIdLength));
    std::array<std::uint8_t, kKeyRecordSize> record{};
    record[kPasswordLengthAt] = static_cast<std::uint8_t>(passwordLength);
    record[kIdLengthAt] = static_cast<std::uint8_t>(idLength);
    std::memcpy(record.data() + kTextAt, student.typedPassword, passwordLength);
    std::memcpy(record.data() + kTextAt + passwordLength, student.studentId, idLength);
    // The fill is never checked; it only hides where the texts end.
    const int firstChar = static_cast<signed char>(student.studentId[0]);
    for (int i = kTextAt + passwordLength + idLength; i < kKeyRecordSize; ++i)
        record[i] = static_cast<std::uint8_t>((nextRandom() + firstChar) & 0xFF);
    scramble(record.data(), kKeyRecordSize);

    if (!writeWholeFile(onDrive(student.keyDrive, ":\\LORVENNA\\KEY.GRD"), record.data(),
                        record.size()))
        return KeyDiskCode::WriteFailed;
    return KeyDiskCode::KeyWritten;
}

KeyDiskCode checkPassword(const Student& student) {
    const std::string_view typed = fieldView(student.typedPassword);
    const std::string_view stored = fieldView(student.keyPassword);
    return equalsIgnoringCase(typed, stored) ? KeyDiskCode::PasswordRight
                                             : KeyDiskCode::WrongPassword;
}

} // namespace lorvenna

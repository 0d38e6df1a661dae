// The key disk: finding the removable drive, reading and writing the key file, checking the
// password. Results are the codes the start dialog and the controller use.
#pragma once

#include "records/Student.h"

#include <cstdint>
#include <string>

namespace lorvenna {

inline constexpr int kKeyRecordSize = 256;
// The 32-byte table that key and grade files are scrambled with.
inline constexpr char kScrambleKey[33] = "Keep the disk dry and labelled.";

// The longest ID and password that are kept (the fields hold a few more characters, so a
// longer entry can be noticed).
inline constexpr int kMaxIdLength = 58;
inline constexpr int kMaxPasswordLength = 18;

// XORs byte i with kScrambleKey[i % 32]; scrambling and descrambling alike.
void scramble(std::uint8_t* bytes, int count);

// Results of the key disk operations. They are also the steps of the start dialog
// (records/StartSteps.h), which adds a few steps of its own.
enum class KeyDiskCode : int {
    // Drive detection.
    OneMedium = -9,     // exactly one removable drive holds a medium; keyDrive is set to it
    NoMedium = -10,     // removable drives, but none holds a medium
    NoDrive = -12,      // no removable drive at all
    SeveralMedia = -13, // two or more removable drives hold a medium
    // Key reading and writing.
    KeyRead = 2,         // keyId and keyPassword are loaded
    NotRegistered = -11, // no key file, or one shorter than a key record
    WriteFailed = -14,   // write-protected (reading), or not fully written (writing)
    KeyWritten = 7,
    // Key reading (a negative length byte) and the password check (different passwords).
    WrongPassword = -16,
    PasswordRight = 4,
    // Steps of the start dialog that no operation returns.
    ChoosePassword = 3,   // registration: the new password is asked for
    PasswordAgain = -15,  // a wrong password: asked for again
    PasswordTooLong = -7, // typed past the password field's limit while registering
    IdTooLong = -8,       // typed past the ID field's limit
};

// The key disk of student: detection sets its keyDrive, reading fills its keyId and
// keyPassword, writing stores its studentId and typedPassword.
KeyDiskCode detectKeyDrive(Student& student); // OneMedium, NoMedium, NoDrive or SeveralMedia
KeyDiskCode readKeyFile(Student& student); // KeyRead, NotRegistered, WriteFailed or WrongPassword
KeyDiskCode writeKeyFile(const Student& student);  // KeyWritten or WriteFailed
KeyDiskCode checkPassword(const Student& student); // PasswordRight or WrongPassword
// The key file's reading without the write test: fills keyId and keyPassword from the file
// of that name. KeyRead, NotRegistered (no file, or a short one) or WrongPassword (a damaged
// key: lengths out of range, a control character in the ID or password, or a link or special
// file in the key's place). Lets a tool read a disk, or a copy of one, without writing to it.
KeyDiskCode readKeyRecord(Student& student, const std::string& keyName);
bool isLettersAndDigits(const char* text);

} // namespace lorvenna

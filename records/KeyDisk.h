// The key disk: finding the removable drive, reading and writing the key file, checking the
// password. Results are the codes the start dialog and the controller use.
#pragma once

#include <cstdint>

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

int DetectKeyDrive(); // -9, -10, -12 or -13
int ReadKeyFile();    // 2, -11, -14 or -16
int WriteKeyFile();   // 7 or -14
int CheckPassword();  // 4 or -16
bool isLettersAndDigits(const char* text);

} // namespace lorvenna

// The key disk. Stand-in until it is built.
#include "records/KeyDisk.h"

void scramble(std::uint8_t*, int) {}
int DetectKeyDrive() { return -12; }
int ReadKeyFile() { return -11; }
int WriteKeyFile() { return -14; }
int CheckPassword() { return -16; }
bool isLettersAndDigits(const char*) { return false; }

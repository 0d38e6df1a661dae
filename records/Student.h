// The student of a session: whether grades are kept, the drive of the key disk, and the IDs and
// passwords typed and read from the key. The key disk, the grade scan and scoring take it as
// an argument; the running player keeps one for the run.
#pragma once

namespace lorvenna {

struct Student {
    bool graded = false;         // set once a key disk is registered or its password given
    char keyDrive = 0;           // 'A'..'Z', set only by drive detection
    char studentId[60] = {};     // at most 58 characters: typed, or copied from the key
    char keyId[60] = {};         // read from the key file
    char typedPassword[24] = {}; // at most 18 characters
    char keyPassword[20] = {};   // read from the key file
};

} // namespace lorvenna

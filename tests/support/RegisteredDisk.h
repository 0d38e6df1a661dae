// A key disk registered by the player's own key writer, for the tests that read a class's
// sticks.
#pragma once

#include "platform/FixedText.h"
#include "records/KeyDisk.h"
#include "shell/Session.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvenna {

// Drive letter under folder, registered to owner with the password "pw"; its root.
inline std::string makeRegisteredDisk(WorkFolder& folder, char letter, const char* owner) {
    const std::string root = folder.addDrive(letter);
    session().student.keyDrive = letter;
    setText(session().student.studentId, owner);
    setText(session().student.typedPassword, "pw");
    EXPECT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);
    return root;
}

} // namespace lorvenna

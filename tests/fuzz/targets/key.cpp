// Fuzz target: the key file of the key disk, read and checked against the password. The
// input is the plain record; it is scrambled on its way to the disk, so the fuzzer works on
// the lengths and texts themselves.
#include "tests/fuzz/FuzzWorld.h"

#include "platform/FixedText.h"
#include "records/KeyDisk.h"
#include "shell/Session.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvenna;
    FuzzWorld& world = FuzzWorld::next();
    std::string record(bytesOf(data, size));
    scramble(reinterpret_cast<std::uint8_t*>(record.data()), static_cast<int>(record.size()));
    world.folder().write("drive-E/LORVENNA/KEY.GRD", record, false);

    if (readKeyFile(session().student) != KeyDiskCode::KeyRead)
        return 0;
    // A key that reads is one that registration could have written: the student can type
    // its password, and registering the same ID and password again gives the same key.
    const std::string id(session().student.keyId);
    const std::string password(session().student.keyPassword);
    FUZZ_CHECK(password.size() <= static_cast<std::size_t>(kMaxPasswordLength));
    FUZZ_CHECK(id.size() <= static_cast<std::size_t>(kMaxIdLength));
    setText(session().student.typedPassword, password);
    FUZZ_CHECK(checkPassword(session().student) == KeyDiskCode::PasswordRight);
    setText(session().student.typedPassword, password + "x");
    FUZZ_CHECK(checkPassword(session().student) != KeyDiskCode::PasswordRight);

    setText(session().student.studentId, id);
    setText(session().student.typedPassword, password);
    FUZZ_CHECK(writeKeyFile(session().student) == KeyDiskCode::KeyWritten);
    std::memset(session().student.keyId, 0, sizeof session().student.keyId);
    std::memset(session().student.keyPassword, 0, sizeof session().student.keyPassword);
    FUZZ_CHECK(readKeyFile(session().student) == KeyDiskCode::KeyRead);
    FUZZ_CHECK(id == session().student.keyId && password == session().student.keyPassword);
    return 0;
}

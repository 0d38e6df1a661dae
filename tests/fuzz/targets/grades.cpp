// Fuzz target: a key disk's folder of grade files, scanned lesson by lesson and listed.
//
// Input: one byte n and n bytes of the key owner's ID (at most 58), then pieces of 61 bytes:
// a control byte and a plain 60-byte record (scrambled on its way to the disk). The control
// byte's low two bits pick the lesson, the next bit cuts the file short, to its top five bits
// in bytes. Each lesson's files take the sequence numbers 1, 2, ... in input order.
#include "tests/fuzz/FuzzWorld.h"

#include "items/RunObjects.h"
#include "platform/FixedText.h"
#include "records/GradeRecord.h"
#include "records/GradeScan.h"
#include "records/KeyDisk.h"
#include "shell/Session.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace lorvenna {
namespace {

struct Lesson {
    long major;
    long minor;
};
constexpr Lesson kLessons[] = {{1, 1}, {1, 2}, {3, 12}, {99, 99}};
constexpr std::size_t kPiece = 1 + GradeRecord::kSize;
constexpr std::uint8_t kShortFile = 0x04;
constexpr std::size_t kOtherOwnersLimit = 2047;

void setUpLessons(WorkFolder& folder) {
    for (const Lesson& lesson : kLessons) {
        char name[32];
        std::snprintf(name, sizeof name, "LSNS/%02ld-%02ld.LSN", lesson.major, lesson.minor);
        folder.write(name, "Lesson\r\n", false);
    }
    folder.write("LSNS/NOTES.LSN", "Not numbered\r\n", false); // a name without numbers
}

} // namespace
} // namespace lorvenna

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvenna;
    FuzzWorld& world = FuzzWorld::next();
    static const bool lessonsMade = (setUpLessons(world.folder()), true);
    (void)lessonsMade;
    std::filesystem::remove_all(world.drive() + "/LORVENNA");
    std::filesystem::create_directories(world.drive() + "/LORVENNA");
    if (size == 0)
        return 0;

    const std::size_t idLength = std::min<std::size_t>({data[0], size - 1, kMaxIdLength});
    setText(session().student.studentId, bytesOf(data + 1, idLength));
    int sequence[std::size(kLessons)] = {};
    for (std::size_t at = 1 + idLength; at + kPiece <= size; at += kPiece) {
        const std::uint8_t control = data[at];
        const std::size_t lesson = control & 3u;
        std::string record(bytesOf(data + at + 1, GradeRecord::kSize));
        scramble(reinterpret_cast<std::uint8_t*>(record.data()), GradeRecord::kSize);
        if (control & kShortFile)
            record.resize(control >> 3);
        const std::string name =
            gradeFileName('E', kLessons[lesson].major, kLessons[lesson].minor, ++sequence[lesson]);
        world.folder().write("drive-E/LORVENNA/" + name.substr(std::strlen("E:\\LORVENNA\\")),
                             record, false);
    }

    std::vector<std::string> lines;
    GradeScan scan(lines, session().student);
    const int kind = static_cast<int>(scan.listAllLessons());
    FUZZ_CHECK(kind >= static_cast<int>(GradeListing::NoGrades) &&
               kind <= static_cast<int>(GradeListing::OthersOnly));
    FUZZ_CHECK(scan.otherOwners().size() <= kOtherOwnersLimit);
    for (const std::string& line : lines)
        FUZZ_CHECK(line.rfind("Lesson ", 0) == 0);
    scan.clearOtherOwners();
    const int added = scan.scanLesson(kLessons[0].major, kLessons[0].minor);
    FUZZ_CHECK(added >= -1);
    scan.clearOtherOwners();
    return 0;
}

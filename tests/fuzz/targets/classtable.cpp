// Fuzz target: the class table of a teacher's tool over one key disk's grade files, with the
// summary and the report made from it.
//
// Input: one byte n and n bytes of the key owner's ID (at most 58; none: no key file), then
// pieces of 61 bytes: a control byte and a plain 60-byte record (scrambled on its way to the
// disk). The control byte's low two bits pick the lesson, the next bit cuts the file short,
// to its top five bits in bytes. Each lesson's files take the sequence numbers 1, 2, ... in
// input order.
#include "tests/fuzz/FuzzWorld.h"

#include "items/RunObjects.h"
#include "platform/FixedText.h"
#include "records/GradeRecord.h"
#include "records/KeyDisk.h"
#include "shell/Session.h"
#include "tools/grades/ClassReport.h"
#include "tools/grades/ClassSummary.h"
#include "tools/grades/GradeTable.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace lorvenna {
namespace {

constexpr std::pair<long, long> kLessons[] = {{1, 1}, {1, 2}, {3, 12}, {99, 99}};
constexpr std::size_t kPiece = 1 + GradeRecord::kSize;
constexpr std::uint8_t kShortFile = 0x04;

} // namespace
} // namespace lorvenna

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvenna;
    FuzzWorld& world = FuzzWorld::next();
    std::filesystem::remove_all(world.drive() + "/LORVENNA");
    std::filesystem::create_directories(world.drive() + "/LORVENNA");
    if (size == 0)
        return 0;

    const std::size_t idLength =
        std::min<std::size_t>({data[0], size - 1, static_cast<std::size_t>(kMaxIdLength)});
    Student& student = session().student;
    student.keyDrive = 'E';
    setText(student.studentId, bytesOf(data + 1, idLength));
    setText(student.typedPassword, "pw");
    if (idLength > 0)
        writeKeyFile(student);
    int sequence[std::size(kLessons)] = {};
    for (std::size_t at = 1 + idLength; at + kPiece <= size; at += kPiece) {
        const std::uint8_t control = data[at];
        const auto [major, minor] = kLessons[control & 3u];
        std::string record(bytesOf(data + at + 1, GradeRecord::kSize));
        scramble(reinterpret_cast<std::uint8_t*>(record.data()), GradeRecord::kSize);
        if (control & kShortFile)
            record.resize(control >> 3);
        const std::string name = gradeFileName('E', major, minor, ++sequence[control & 3u]);
        world.folder().write("drive-E/LORVENNA/" + name.substr(std::strlen("E:\\LORVENNA\\")),
                             record, false);
    }

    GradeTable table;
    table.addDisk(world.drive());
    FUZZ_CHECK(table.disks().size() == 1);
    // Nothing a disk holds reaches the terminal as a control character.
    for (char c : table.describe(0))
        FUZZ_CHECK(c == '\n' || static_cast<unsigned char>(c) >= 0x20);
    int counted = 0;
    for (int count : table.statusCounts())
        counted += count;
    FUZZ_CHECK(counted == static_cast<int>(table.rows().size()));
    // No cell of the tables begins as a formula would, but for a negative number.
    const ClassSummary summary(table, {});
    for (const std::string& text : {table.csv(), summary.csv()}) {
        for (std::size_t at = text.find(','); at != std::string::npos;
             at = text.find(',', at + 1)) {
            if (at + 1 == text.size() || std::strchr("=+-@", text[at + 1]) == nullptr)
                continue;
            char* end = nullptr;
            std::strtod(text.c_str() + at + 1, &end);
            FUZZ_CHECK(*end == ',' || *end == '\r');
        }
    }
    const std::string report = classReport(table, summary);
    FUZZ_CHECK(report.find("<script") == std::string::npos);
    return 0;
}

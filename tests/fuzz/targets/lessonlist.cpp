// Fuzz target: the lesson list of lesson selection, with its bookmark marks, and the taking
// of each entry. The input holds up to four lesson files, separated by zero bytes.
#include "tests/fuzz/FuzzWorld.h"

#include "items/RunObjects.h"
#include "lesson/LessonList.h"
#include "shell/Session.h"

#include <filesystem>
#include <string>

namespace lorvenna {

namespace {

constexpr const char* kNames[] = {"01-02.LSN", "3-9.LSN", "NOTES.LSN", "00-00.LSN"};

} // namespace

} // namespace lorvenna

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvenna;
    FuzzWorld& world = FuzzWorld::next();
    const std::string lessons = world.folder().path() + "/LSNS";
    std::filesystem::remove_all(lessons);
    std::filesystem::create_directories(lessons);
    world.folder().write("drive-E/LORVENNA/L01-02.BMK", " L 102\r\nP -1 0 0\r\n", false);

    std::string_view rest = bytesOf(data, size);
    for (const char* name : kNames) {
        const std::size_t cut = rest.find('\0');
        world.folder().write(std::string("LSNS/") + name, rest.substr(0, cut), false);
        if (cut == std::string_view::npos)
            break;
        rest.remove_prefix(cut + 1);
    }

    session().student.graded = true;
    LessonList list;
    list.build(lesson(), session().student.keyDrive);
    const int count = static_cast<int>(list.entries().size());
    const int selected = list.initialSelection();
    FUZZ_CHECK(count == 0 || (selected >= 0 && selected < count));
    for (int index = -1; index < count; ++index)
        list.take(index, lesson());
    return 0;
}

// Fuzz target: one display block ("DISPLAY Fuzz x y w h flag" and its items) on the only
// page of a lesson whose index is fixed, built, drawn, clicked and ticked.
#include "tests/fuzz/FuzzWorld.h"
#include "tests/support/LessonPlay.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvenna;
    FuzzWorld& world = FuzzWorld::next();
    std::string lesson = "Lesson 09-09 Display\r\nTOTAL 3\r\nPAGE 1\r\nDISPLAY Fuzz\r\n"
                         "PAGE 2\r\nDISPLAY Fuzz\r\nEND PAGES\r\n";
    lesson += bytesOf(data, size);
    world.folder().write("LSNS/09-09.LSN", lesson, false);
    const LessonPlay play = playLesson("LSNS\\09-09.LSN", 2);
    FUZZ_CHECK(play.silentRefusals == 0);
    return 0;
}

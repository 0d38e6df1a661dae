// Fuzz target: a whole lesson file, its index read, every page built offscreen, drawn,
// clicked and ticked, then torn down.
#include "tests/fuzz/FuzzWorld.h"
#include "tests/support/LessonPlay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvenna;
    FuzzWorld& world = FuzzWorld::next();
    world.folder().write("LSNS/09-09.LSN", bytesOf(data, size), false);
    const LessonPlay play = playLesson("LSNS\\09-09.LSN", 12);
    FUZZ_CHECK(play.silentRefusals == 0); // a refused lesson always says why
    return 0;
}

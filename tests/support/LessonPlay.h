// A lesson played as a restless student would play it, for the damaged-lesson tests and the
// fuzz targets: read the index, build the pages, draw them, click around and let items tick.
#pragma once

#include <string_view>

namespace lorvenna {

struct LessonPlay {
    bool indexRead = false;
    int pagesBuilt = 0;
    int silentRefusals = 0; // an index or page refused without a reason
};

// Plays the lesson at lessonPath ("LSNS\09-09.LSN"): its index, then pages 1 to maxPages,
// each drawn, clicked and ticked, then page 1 again and the teardown. Needs a main window
// stand-in installed as the app services (installAppServices).
LessonPlay playLesson(std::string_view lessonPath, int maxPages = 6);

// Draws every display of the page shown, clicks at a few places of each and lets every item
// tick and flash once.
void pokeDisplays();

} // namespace lorvenna

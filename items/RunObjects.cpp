#include "items/RunObjects.h"

namespace lorvenna {

namespace {
// Made once and never destroyed: items still on screen at exit reach them as they go.
Lesson* g_lesson = new Lesson();
PageOnScreen* g_page = new PageOnScreen();
} // namespace

Lesson& lesson() {
    return *g_lesson;
}

PageOnScreen& pageOnScreen() {
    return *g_page;
}

void resetRunObjects() {
    // In place: whoever holds them keeps holding the fresh ones.
    *g_lesson = Lesson();
    *g_page = PageOnScreen();
}

} // namespace lorvenna

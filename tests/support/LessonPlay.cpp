// A lesson played as a restless student would play it.
#include "tests/support/LessonPlay.h"

#include "items/Display.h"
#include "items/Drawing.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "lesson/PageBuilder.h"
#include "platform/ChildWindow.h"
#include "platform/FixedText.h"
#include "shell/DisplayWindowProc.h"

namespace lorvenna {

LessonPlay playLesson(std::string_view lessonPath, int maxPages) {
    LessonPlay play;
    setText(lesson().lessonPath, lessonPath);
    if (const Status index = readLessonIndex(); !index) {
        play.silentRefusals += index.message().empty() ? 1 : 0;
        return play;
    }
    play.indexRead = true;
    const int last = lesson().pageCount < maxPages ? lesson().pageCount : maxPages;
    for (int page = 1; page <= last; ++page) {
        if (const Status built = buildPage(page); !built) {
            play.silentRefusals += built.message().empty() ? 1 : 0;
            continue;
        }
        ++play.pagesBuilt;
        pokeDisplays();
    }
    if (last >= 2)
        (void)buildPage(1); // back again: the page is read anew
    lessonTeardown();
    freePages();
    return play;
}

void pokeDisplays() {
    markAllAndRepaint();
    ChildWindowProc* proc = displayWindowProc();
    for (Display* display : shownDisplays()) {
        if (!display->window)
            continue;
        for (const Point p : {Point{5, 5}, Point{150, 150}, Point{60, 100}, Point{400, 20}}) {
            // A click may end in a pause; end it so the next click is judged too.
            pageOnScreen().rightWaitStart = 0;
            pageOnScreen().wrongWaitStart = 0;
            proc->leftButtonDown(*display->window, p.x, p.y);
            if (!isShown(display))
                return; // the click turned the page
        }
        for (Item* item = display->items; item; item = item->next) {
            item->Input("TICK", 0.0, nullptr);
            item->Input("FLASH", 1.0, nullptr);
        }
        markAndRepaint(display);
    }
}

} // namespace lorvenna

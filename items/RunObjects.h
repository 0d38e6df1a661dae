// The run's globals. Everything else is handed to the code that needs it; these are reached
// from the toolkit's callbacks (a click on a control, a key, a timer tick), which no caller of
// ours can hand anything to:
//   lesson()        the lesson being played               (items/Lesson.h)
//   pageOnScreen()  the page on screen                    (items/PageOnScreen.h)
//   appServices()   the main window's services            (items/AppServices.h)
//   screenScale()   the factors from page to screen       (platform/ScreenScale.h)
//   session()       the student and the controller's run  (shell/Session.h)
// Process-wide caches that check themselves against what they hold (folder listings, mounted
// drives, text layouts) and the live-item registry keep their state in their own files.
#pragma once

#include "items/Lesson.h"
#include "items/PageOnScreen.h"

namespace lorvenna {

Lesson& lesson();
PageOnScreen& pageOnScreen();

// Both back to their start values (the run's start; tests). Displays and pages are not freed.
void resetRunObjects();

} // namespace lorvenna

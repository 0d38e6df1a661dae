// The run's globals. Everything else is handed to the code that needs it; these are reached
// from the toolkit's callbacks (a click on a control, a key, a timer tick), which no caller of
// ours can hand anything to:
//   lesson()        the lesson being played               (items/Lesson.h)
//   pageOnScreen()  the page on screen                    (items/PageOnScreen.h)
//   appServices()   the main window's services            (items/AppServices.h)
//   screenScale()   the factors from page to screen       (platform/ScreenScale.h)
//   session()       the student and the controller's run  (shell/Session.h)
// Besides these, a few files keep process-wide state of their own, private to them: caches
// that check themselves against what they hold (folder listings in platform/HostNames.cpp,
// mounted drives in platform/Drives.cpp, text layouts in platform/QtSurface.cpp), the live-item
// registry and the outline point list (items/Item.cpp), and the depth of connection sends
// that stops a loop of connections (items/Connection.cpp).
#pragma once

#include "items/Lesson.h"
#include "items/PageOnScreen.h"

namespace lorvenna {

Lesson& lesson();
PageOnScreen& pageOnScreen();

// Both back to their start values (the run's start; tests). Displays and pages are not freed.
void resetRunObjects();

} // namespace lorvenna

// The controller timer that measures the pause after an answer, kept in step with the page's
// timerRunning.
#include "items/PauseTimer.h"

#include "items/AppServices.h"
#include "items/RunObjects.h"

namespace lorvenna {

void startPauseTimer() {
    pageOnScreen().timerRunning = true;
    appServices().startControllerTimer();
}

void stopPauseTimer() {
    if (!pageOnScreen().timerRunning)
        return;
    appServices().killControllerTimer();
    pageOnScreen().timerRunning = false;
}

} // namespace lorvenna

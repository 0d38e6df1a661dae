// The controller timer, kept in step with SessionState's timerRunning.
#include "shell/ControllerTimer.h"

#include "shell/AppServices.h"
#include "shell/SessionState.h"

namespace lorvenna {

void startPauseTimer() {
    SessionState& s = session();
    s.timerRunning = true;
    appServices().startControllerTimer();
}

void stopPauseTimer() {
    SessionState& s = session();
    if (!s.timerRunning)
        return;
    appServices().killControllerTimer();
    s.timerRunning = false;
}

} // namespace lorvenna

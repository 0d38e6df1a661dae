// The controller timer that measures the pause after an answer (id 2000, every 300 ms).
#pragma once

namespace lorvenna {

// Sets timerRunning and starts the timer.
void startPauseTimer();
// Kills the timer only when timerRunning is set, then clears it.
void stopPauseTimer();

} // namespace lorvenna

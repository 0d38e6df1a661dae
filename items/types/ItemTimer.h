// The TIMER item: an invisible clock that drives other items at every tick.
#pragma once

#include "items/Item.h"

namespace lorvenna {

// While it runs, each tick of its display window's timer (every MSEC milliseconds) sends a
// constant STEP along its outputs or, after a SINE line, the change of a sine wave since the
// previous tick, so that a receiver adding them up follows the wave from 0. With ENDOUTPUT
// connections it stops after MAX ticks and sends the last value along them too. START, STOP,
// TOGGLE, STEP and MSEC retune it; it starts by itself at page start unless the block says
// STOP.
class ItemTimer : public Item {
public:
    ItemTimer();
    ~ItemTimer() override;

    bool StartupAction() override;
    Status ReadCommand(const char* line) override;
    void Input(const char* name, double value, const Pose* motion) override;

    std::int32_t ticks = 0; // ticks since the start, counted toward MAX
    double phase = 0.0;     // SINE: the wave's phase in radians

private:
    void start();
    void stop();
    void tick();
};

// Timer modes.
inline constexpr std::int32_t kTimerConstant = 0;
inline constexpr std::int32_t kTimerSine = 1;

} // namespace lorvenna

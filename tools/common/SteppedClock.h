// The clock of a tool that plays a lesson: it stands still until the tool moves it on, so a
// pause after an answer ends at once and every run gives the same dates.
#pragma once

#include "platform/Clock.h"

namespace lorvenna {

class SteppedClock : public ClockSource {
public:
    SteppedClock() : previous_(installClockSource(this)) {}
    ~SteppedClock() override { installClockSource(previous_); }
    SteppedClock(const SteppedClock&) = delete;
    SteppedClock& operator=(const SteppedClock&) = delete;

    void advance(std::uint32_t ms) { now_ += ms; }

    std::uint32_t tickCount() const override { return now_; }
    LocalTime localTime() const override { return {2026, 12, 8, 9, 30, 0}; }

private:
    std::uint32_t now_ = 100000;
    ClockSource* previous_ = nullptr;
};

} // namespace lorvenna

// The clock of the tests: tickCount and localTime answer from it while it lives (the newest
// one, when several live), so pauses are tested without waiting.
#pragma once

#include "platform/Clock.h"

namespace lorvenna {

class TestClock : public ClockSource {
public:
    explicit TestClock(std::uint32_t start = 100000)
        : now_(start), previous_(installClockSource(this)) {}
    ~TestClock() override { installClockSource(previous_); }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    void advance(std::uint32_t ms) { now_ += ms; }
    void set(std::uint32_t now) { now_ = now; }
    void setLocalTime(const LocalTime& time) { local_ = time; }
    std::uint32_t now() const { return now_; }
    const LocalTime& local() const { return local_; }

    std::uint32_t tickCount() const override { return now_; }
    LocalTime localTime() const override { return local_; }

private:
    std::uint32_t now_;
    LocalTime local_{2026, 12, 8, 9, 30, 0};
    ClockSource* previous_ = nullptr; // the source that answered before this one
};

} // namespace lorvenna

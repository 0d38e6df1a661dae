// Millisecond tick count and local date and time, replaceable by a test clock.
#pragma once

#include <cstdint>

namespace lorvenna {

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

std::uint32_t tickCount();
LocalTime localTime();

// While a TestClock lives, tickCount and localTime answer from it (the newest one, when
// several live).
class TestClock {
public:
    explicit TestClock(std::uint32_t start = 100000);
    ~TestClock();
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    void advance(std::uint32_t ms) { now_ += ms; }
    void set(std::uint32_t now) { now_ = now; }
    void setLocalTime(const LocalTime& time) { local_ = time; }
    std::uint32_t now() const { return now_; }
    const LocalTime& local() const { return local_; }

private:
    std::uint32_t now_;
    LocalTime local_{2026, 12, 8, 9, 30, 0};
    TestClock* previous_ = nullptr; // the clock that answered before this one
};

} // namespace lorvenna

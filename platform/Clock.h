// Millisecond tick count and local date and time, replaceable by a clock of the tests.
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

// What answers tickCount and localTime instead of the system; the tests install one.
class ClockSource {
public:
    virtual ~ClockSource() = default;
    virtual std::uint32_t tickCount() const = 0;
    virtual LocalTime localTime() const = 0;
};

// Installs source (nullptr: the system clock again) and returns the one it replaces.
ClockSource* installClockSource(ClockSource* source);

} // namespace lorvenna

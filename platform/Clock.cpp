// The millisecond tick count and the local time, or what an installed clock source says.
#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace lorvenna {

namespace {

ClockSource* activeSource = nullptr;

} // namespace

std::uint32_t tickCount() {
    if (activeSource)
        return activeSource->tickCount();
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    // The count wraps after 49.7 days, as callers comparing unsigned differences expect.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

LocalTime localTime() {
    if (activeSource)
        return activeSource->localTime();
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    if (!localtime_r(&now, &parts))
        return {};
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

ClockSource* installClockSource(ClockSource* source) {
    ClockSource* previous = activeSource;
    activeSource = source;
    return previous;
}

} // namespace lorvenna

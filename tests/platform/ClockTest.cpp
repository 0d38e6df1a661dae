// The tick count, the local time and the test clock that replaces them.
#include "platform/Clock.h"
#include "tests/support/TestClock.h"

#include <gtest/gtest.h>

namespace lorvenna {

TEST(Clock, TheTestClockAnswersWhileItLives) {
    {
        TestClock clock(5000);
        EXPECT_EQ(tickCount(), 5000u);
        clock.advance(999);
        EXPECT_EQ(tickCount(), 5999u);
        clock.setLocalTime(LocalTime{2031, 2, 28, 23, 59, 58});
        EXPECT_EQ(localTime().year, 2031);
        EXPECT_EQ(localTime().day, 28);
        EXPECT_EQ(localTime().second, 58);
        {
            TestClock inner(7);
            EXPECT_EQ(tickCount(), 7u);
        }
        EXPECT_EQ(tickCount(), 5999u) << "the outer clock answers again";

        // The count wraps like a 32-bit tick count.
        clock.set(0xFFFFFFF0u);
        clock.advance(0x20);
        EXPECT_EQ(tickCount(), 0x10u);
    }
    // The real clock is back: a steady count and a plausible date.
    const std::uint32_t first = tickCount();
    const std::uint32_t second = tickCount();
    EXPECT_LT(second - first, 1000u);
    const LocalTime now = localTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
}

} // namespace lorvenna

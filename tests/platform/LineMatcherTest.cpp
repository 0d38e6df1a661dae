// Line matching: the scanf-like patterns every reader uses, without scanf's undefined cases.
#include "platform/LineMatcher.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace lorvenna {

TEST(LineMatcher, WholeNumbersOutOfRangeTakeTheEndsOfTheRange) {
    long value = 0;
    LineMatcher big(" P 99999999999999999999999 -99999999999999999999999");
    ASSERT_TRUE(big.keyword("P"));
    ASSERT_TRUE(big.whole(value));
    EXPECT_EQ(value, LONG_MAX);
    ASSERT_TRUE(big.whole(value));
    EXPECT_EQ(value, LONG_MIN);
    EXPECT_FALSE(big.whole(value));
}

TEST(LineMatcher, ADashBetweenNumbersIsTakenOnlyRightAfterTheFirst) {
    long major = 0;
    long minor = 0;
    LineMatcher name("01-02");
    EXPECT_TRUE(name.whole(major) && name.exactly('-') && name.whole(minor));
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 2);

    LineMatcher spaced("01 -02");
    EXPECT_TRUE(spaced.whole(major));
    EXPECT_FALSE(spaced.exactly('-'));
    EXPECT_FALSE(LineMatcher("").exactly('\0'));
}

TEST(LineMatcher, KeywordsNeedNoBlankAfterThem) {
    std::string word;
    LineMatcher m("  FILEX");
    EXPECT_TRUE(m.keyword("FILE") && m.word(word));
    EXPECT_EQ(word, "X");
    EXPECT_FALSE(LineMatcher("file x").keyword("FILE"));
}

} // namespace lorvenna

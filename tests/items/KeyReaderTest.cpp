// KEY lines: the patterns in their order, the entry limit and the title field.
#include "items/KeyReader.h"

#include "items/Item.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace lorvenna {

TEST(KeyReader, PatternsFillEntriesInLineOrder) {
    struct Case {
        const char* line;
        std::int32_t kind;
        const char* title;
        double expected;
        double tolerance;
    };
    const Case cases[] = {
        {"KEYBUTTON Yes", kKeyButton, "Yes", 0, 0},
        {"  KEYAND\tFirst extra words", kKeyAnd, "First", 0, 0},
        {"KEYNUM Edit1 100 10", kKeyNum, "Edit1", 100, 10},
        {"KEYNUM Edit2 -2.5e1 -1", kKeyNum, "Edit2", -25, -1},
        {"KEYSHOW Zone_3", kKeyShow, "Zone_3", 0, 0},
        {"KEYBUTTONNo", kKeyButton, "No", 0, 0}, // no blank is needed after the keyword
    };
    Item item;
    for (const Case& c : cases)
        ASSERT_TRUE(ReadKeyCommand(item, c.line)) << c.line;
    ASSERT_EQ(item.keyCount, 6);
    EXPECT_EQ(item.keyKinds, kKeyButton | kKeyAnd | kKeyNum | kKeyShow);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(cases[i].line);
        const KeyEntry& entry = item.keys[i];
        EXPECT_EQ(entry.kind, cases[i].kind);
        EXPECT_STREQ(entry.answererTitle, cases[i].title);
        EXPECT_EQ(entry.expected, cases[i].expected);
        EXPECT_EQ(entry.tolerance, cases[i].tolerance);
        EXPECT_EQ(entry.answerer, nullptr);
        EXPECT_FALSE(entry.picked);
    }
    EXPECT_EQ(item.keys[6].kind, 0);
}

TEST(KeyReader, AutoTurnAnywhereSetsItsBitWithoutAnEntry) {
    Item item;
    EXPECT_TRUE(ReadKeyCommand(item, "then KEYAUTOTURN please"));
    EXPECT_EQ(item.keyKinds, kKeyAutoTurn);
    EXPECT_EQ(item.keyCount, 0);
    // It is looked for first, so it wins over a pattern on the same line.
    EXPECT_TRUE(ReadKeyCommand(item, "KEYBUTTON Yes KEYAUTOTURN"));
    EXPECT_EQ(item.keyCount, 0);
}

TEST(KeyReader, IncompleteOrUnknownLinesAreRefused) {
    for (const char* line : {"KEYNUM Edit1 5", "KEYNUM Edit1", "KEYNUM Edit1 x 5", "KEYBUTTON",
                             "KEYBUTTON   ", "keybutton Yes", "MONKEY Yes", "X KEYBUTTON Yes"}) {
        SCOPED_TRACE(line);
        Item item;
        EXPECT_FALSE(ReadKeyCommand(item, line));
        EXPECT_EQ(item.keyCount, 0);
        EXPECT_EQ(item.keyKinds, 0);
    }
}

TEST(KeyReader, ThirtyEntriesAtMost) {
    Item item;
    for (int i = 0; i < kMaxKeys; ++i)
        ASSERT_TRUE(ReadKeyCommand(item, ("KEYBUTTON B" + std::to_string(i)).c_str()));
    EXPECT_FALSE(ReadKeyCommand(item, "KEYAND Extra"));
    EXPECT_EQ(item.keyCount, kMaxKeys);
    EXPECT_STREQ(item.keys[kMaxKeys - 1].answererTitle, "B29");
}

TEST(KeyReader, TitleLongerThan35IsRefusedNotCut) {
    const std::string fits(35, 'a');
    Item item;
    ASSERT_TRUE(ReadKeyCommand(item, ("KEYBUTTON " + fits).c_str()));
    EXPECT_EQ(std::string(item.keys[0].answererTitle), fits);

    // Cut to 35 it would name the item above.
    EXPECT_FALSE(ReadKeyCommand(item, ("KEYBUTTON " + fits + "b").c_str()));
    EXPECT_EQ(item.keyCount, 1);
    EXPECT_EQ(item.keys[1].answererTitle[0], '\0');
}

} // namespace lorvenna

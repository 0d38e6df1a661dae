// Texts in UTF-8 or in the 8-bit Western code page: what is taken for which, conversions both
// ways, cuts that keep characters whole, and the scan of a whole file.
#include "platform/TextCodec.h"

#include "platform/FixedText.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvenna {
namespace {

TEST(TextCodec, TellsUtf8FromWesternText) {
    struct Case {
        std::string bytes;
        bool utf8;
    } cases[] = {
        {"plain ASCII", true},
        {"caf\xC3\xA9 \xCE\xBA\xCF\x8D\xCE\xBA\xCE\xBB\xCE\xBF\xCF\x82 \xE2\x82\xAC", true},
        {"caf\xE9", false},          // Western e acute
        {"\xC3\xA9t\xE9", false},    // both in one text
        {"\xC0\xAF", false},         // overlong slash
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // past U+10FFFF
        {"\xCE", false},             // cut short
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidUtf8(c.bytes), c.utf8) << c.bytes;
    EXPECT_TRUE(isValidUtf8("ab\xCE", true)); // the rest may follow
}

TEST(TextCodec, ConvertsTheWesternCodePageBothWays) {
    const std::string western = "\x80 caf\xE9 \x93quoted\x94 \xFF";
    const std::string utf8 = westernToUtf8(western);
    EXPECT_EQ(utf8, "\xE2\x82\xAC caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D \xC3\xBF");
    std::string back;
    ASSERT_TRUE(utf8ToWestern(utf8, back));
    EXPECT_EQ(back, western);
    EXPECT_FALSE(utf8ToWestern("\xCE\xBA", back)); // Greek has no place in it
    EXPECT_EQ(decodeText(western), utf8);
    EXPECT_EQ(decodeText(utf8), utf8);
}

TEST(TextCodec, CutsNeverSplitACharacter) {
    const std::string text = "a\xCE\xBA\xE2\x82\xAC"; // a, kappa, euro: 1 + 2 + 3 bytes
    const std::size_t expected[] = {0, 1, 1, 3, 3, 3, 6};
    for (std::size_t n = 0; n <= text.size(); ++n)
        EXPECT_EQ(utf8CutLength(text, n), expected[n]) << n;
    char field[3];
    setText(field, text);
    EXPECT_STREQ(field, "a"); // not "a" and half a kappa
}

TEST(TextCodec, ValidatesTextFedInPartsAsAWhole) {
    const std::string texts[] = {"a\xCE\xBA\xE2\x82\xAC b", "ab\xE9\xCE\xBA", "\xCE\xBA\xCE",
                                 "\xE2\x82x\xCE\xBA", "\xF0\x9F\x98\x80 ok"};
    for (const std::string& text : texts) {
        Utf8Validator whole;
        whole.feed(text.data(), text.size());
        const bool utf8 = whole.finish();
        EXPECT_EQ(utf8, isValidUtf8(text)) << text;
        for (std::size_t split = 1; split < text.size(); ++split) {
            Utf8Validator parts;
            parts.feed(text.data(), split);
            parts.feed(text.data() + split, text.size() - split);
            EXPECT_EQ(parts.finish(), utf8) << text << " split at " << split;
            EXPECT_EQ(parts.firstBad(), whole.firstBad()) << text << " split at " << split;
        }
    }
}

TEST(TextCodec, ScansAWholeFileAcrossItsReadChunks) {
    WorkFolder folder;
    // A Greek letter across the 64 KiB boundary of the scan's reads.
    std::string text(64 * 1024 - 1, 'x');
    text += "\xCE\xBA";
    folder.write("LSNS/GREEK.TXT", text, false);
    folder.write("LSNS/MIXED.TXT", "line one \xC3\xA9\r\nline two \xE9\r\n", false);
    EXPECT_TRUE(fileIsUtf8("LSNS\\GREEK.TXT"));
    EXPECT_FALSE(fileIsUtf8("LSNS\\MIXED.TXT"));

    FileHandle file = openForReading("LSNS\\MIXED.TXT");
    const EncodingScan scan = scanEncoding(file);
    EXPECT_EQ(filePosition(file), 0); // left where it stood
    closeFile(file);
    EXPECT_TRUE(scan.readable);
    EXPECT_FALSE(scan.utf8);
    EXPECT_TRUE(scan.utf8Sequences);
    EXPECT_EQ(scan.firstBadOffset, 22);
}

} // namespace
} // namespace lorvenna

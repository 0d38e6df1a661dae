// The ITEM reader, through real lesson files and the real line reader.
#include "items/ItemReader.h"
#include "platform/ScreenScale.h"

#include "items/Shape.h"
#include "platform/LineReader.h"
#include "tests/items/ItemTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace lorvenna {

namespace {

// The line the reader left the file at.
std::string nextLine(BlockFile& block) {
    char line[256];
    return readLine(block.file, line, 250) < 0 ? std::string("<end>") : std::string(line);
}

// The number conventions of a desktop whose decimal mark is a comma (thousands ".", groups of
// three), in the C library's compiled form of a locale's LC_NUMERIC category.
constexpr unsigned char kCommaNumeric[] = {
    0x14, 0x11, 0x03, 0x20, 0x06, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x22, 0x00, 0x00, 0x00,
    0x24, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00,
    0x2c, 0x00, 0x2e, 0x00, 0x03, 0x03, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x2e, 0x00, 0x00, 0x00,
    0x41, 0x4e, 0x53, 0x49, 0x5f, 0x58, 0x33, 0x2e, 0x34, 0x2d, 0x31, 0x39, 0x36, 0x38, 0x00};

// Puts those conventions in force for the life of the object, as the toolkit does with the
// user's own at start-up. active is false where the C library does not take them.
class CommaNumbers {
public:
    explicit CommaNumbers(const WorkFolder& folder)
        : previous_(std::setlocale(LC_NUMERIC, nullptr)) {
        folder.write(
            "LOCALE/comma/LC_NUMERIC",
            std::string_view(reinterpret_cast<const char*>(kCommaNumeric), sizeof kCommaNumeric),
            false);
        setenv("LOCPATH", (folder.path() + "/LOCALE").c_str(), 1);
        active =
            std::setlocale(LC_NUMERIC, "comma") != nullptr && std::strtod("1.5", nullptr) == 1.0;
    }
    ~CommaNumbers() {
        std::setlocale(LC_NUMERIC, previous_.c_str());
        unsetenv("LOCPATH");
    }
    CommaNumbers(const CommaNumbers&) = delete;
    CommaNumbers& operator=(const CommaNumbers&) = delete;

    bool active = false;

private:
    std::string previous_;
};

} // namespace

// Items keep page units whatever the screen's scale: only the windows convert.
TEST(ItemReader, BaseCommandsSetTheirFieldsInPageUnitsAtAnyScale) {
    resetSession();
    screenScale().scaleX = screenScale().scaleY = screenScale().scaleDiag = 2.0;
    BlockFile block(R"(  FILE picture
LINECOLOR 3.9
LINEWIDTH	2
FRAMECOLOR 4
FRAMEWIDTH 5
LOC 10.5 20
ANGLE 45
PLUSRANGE 30 100 200
MINUSRANGE -30 -100 -200
SIZE 100.9 50.2
MAX 10
MIN -10
STEP 0.5
MSEC 300
HIDE
}
NEXT LINE
)");
    Item item;
    Display display;
    RecordingSurface surface;
    display.surface = &surface;
    ASSERT_TRUE(block.read(item, "Title", &display));
    EXPECT_EQ(item.title, "Title");
    EXPECT_EQ(item.display, &display);
    EXPECT_EQ(item.surface, &surface);
    EXPECT_EQ(item.text, "picture");
    EXPECT_EQ(item.lineColor, 3);
    EXPECT_EQ(item.lineWidth, 2);
    EXPECT_EQ(item.frameColor, 4);
    EXPECT_EQ(item.frameWidth, 5);
    EXPECT_EQ(item.pose.x, 10.5);
    EXPECT_EQ(item.pose.y, 20);
    EXPECT_EQ(item.initialPose.x, 10.5);
    EXPECT_EQ(item.initialPose.y, 20);
    EXPECT_EQ(item.pose.angle, 45);
    EXPECT_EQ(item.initialPose.angle, 45);
    EXPECT_TRUE(item.upperLimit.enabled);
    EXPECT_EQ(item.upperLimit.angle, 30);
    EXPECT_EQ(item.upperLimit.x, 100);
    EXPECT_EQ(item.upperLimit.y, 200);
    EXPECT_TRUE(item.lowerLimit.enabled);
    EXPECT_EQ(item.lowerLimit.angle, -30);
    EXPECT_EQ(item.lowerLimit.x, -100);
    EXPECT_EQ(item.lowerLimit.y, -200);
    EXPECT_EQ(item.width, 100);
    EXPECT_EQ(item.height, 50);
    EXPECT_EQ(item.maximum, 10);
    EXPECT_EQ(item.minimum, -10);
    EXPECT_EQ(item.step, 0.5);
    EXPECT_EQ(item.msec, 300);
    EXPECT_EQ(item.visibility, Visibility::Hidden);
    EXPECT_EQ(nextLine(block), "NEXT LINE");
    resetSession();
}

TEST(ItemReader, DecimalPointReadsAlikeWhateverTheDesktopLanguage) {
    BlockFile block(R"(LOC 10.5 20.25
STEP 0.5
SHAPE 22.5 10.5 L
KEYNUM Edit1 3.14 2.5
}
)");
    CommaNumbers comma(block.folder);
    if (!comma.active)
        GTEST_SKIP() << "the C library takes no locale from LOCPATH";
    Item item;
    ASSERT_EQ(block.read(item).message(), "");
    EXPECT_EQ(item.pose.x, 10.5);
    EXPECT_EQ(item.pose.y, 20.25);
    EXPECT_EQ(item.step, 0.5);
    ASSERT_NE(item.shapes, nullptr);
    EXPECT_EQ(item.shapes->pose.angle, 22.5);
    EXPECT_EQ(item.shapes->pose.length, 10.5);
    EXPECT_EQ(item.keys[0].expected, 3.14);
    EXPECT_EQ(item.keys[0].tolerance, 2.5);
}

TEST(ItemReader, KeywordsMatchAsWrittenAndNeverAsPrefixes) {
    // Each line goes to exactly one place: a field, or the type's own ReadCommand.
    struct Case {
        const char* line;
        bool toType; // reaches ReadCommand
    };
    const Case cases[] = {
        {"FILEX", false},        {"MINUSRANGE 5", true},  {"MINUSRANGE 1 2", true},
        {"SHAPECOLOR", true},    {"SHAPECOLOR 3", false}, {"LOC 5", true},
        {"LOC10 20", false},     {"loc 10 20", true},     {"//", true},
        {"// a comment", false}, {"//x", false},          {"x // y", true},
        {"OUTPUT", true},        {"OPERATOR T", true},    {"MSEC", true},
        {"MAXIMUM 3", true},     {"SIZE 1", true},        {"{", true},
        {"ANGLE 1e2", false},    {"STEP .5x", false},     {"SHAPE 0 10", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        BlockFile block(std::string(c.line) + "\n}\n");
        CommandTaker item;
        ASSERT_TRUE(block.read(item));
        EXPECT_EQ(item.commands.size(), c.toType ? 1u : 0u);
        EXPECT_EQ(item.minimum, 0); // MINUSRANGE is never taken for MIN
        EXPECT_EQ(item.shapes, nullptr);
    }
}

TEST(ItemReader, PrefixCasesSetTheRightFields) {
    BlockFile block(R"(FILEX
MIN 5 6
LOC10	20
ANGLE 1e2
STEP .5x
}
)");
    Item item;
    ASSERT_TRUE(block.read(item));
    EXPECT_EQ(item.text, "X");
    EXPECT_EQ(item.minimum, 5);
    EXPECT_EQ(item.pose.x, 10);
    EXPECT_EQ(item.pose.y, 20);
    EXPECT_EQ(item.pose.angle, 100);
    EXPECT_EQ(item.step, 0.5);
}

TEST(ItemReader, BadLineFailsWithTheLineAndTitleAndClosesTheFile) {
    struct Case {
        const char* block;
        const char* message;
    };
    const Case cases[] = {
        {"LOC 5\n}\n", "Bad MODE LOC 5 in Item Ball"},
        {"//\n}\n", "Bad MODE // in Item Ball"},
        {"{\n}\n", "Bad MODE { in Item Ball"},
        {"KEYWRONG Yes\n}\n", "Bad KEY command KEYWRONG Yes in Item Ball"},
        {"KEYNUM Edit1 5\n}\n", "Bad KEY command KEYNUM Edit1 5 in Item Ball"},
        // Kinds are told apart by their first letter, in upper case.
        {"SHAPE 0 30 Q\n}\n", "Bad SHAPE SHAPE 0 30 Q in Item Ball"},
        {"SHAPE 0 5 m\n}\n", "Bad SHAPE SHAPE 0 5 m in Item Ball"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        BlockFile block(c.block);
        Item item;
        EXPECT_EQ(block.read(item, "Ball").message(), c.message);
        EXPECT_TRUE(isInvalid(block.file));
    }
}

TEST(ItemReader, LongQuotedLineAndTitleAreQuotedWhole) {
    const std::string line = "UNKNOWN " + std::string(230, 'x');
    const std::string title(150, 'T');
    BlockFile block(line + "\n}\n");
    Item item;
    EXPECT_EQ(block.read(item, title.c_str()).message(), "Bad MODE " + line + " in Item " + title);
}

TEST(ItemReader, OutputFormsFollowTheNumberOfValues) {
    struct Case {
        const char* line;
        bool ok;
        int count; // connections made
        bool isConstant;
        bool motionEnabled;
    };
    const Case cases[] = {
        {"OUTPUT Target GO", true, 1, false, false},
        {"OUTPUT Target GO 2.5", true, 1, true, false},
        {"OUTPUT Target GO 1 2", false, 0, false, false},
        {"OUTPUT Target GO 1 2 3", false, 0, false, false},
        {"OUTPUT Target GO 1 2 3 4", true, 1, false, true},
        {"OUTPUT Target GO 1 2 3 4 5", true, 1, false, true},
        {"OUTPUT Target", false, 0, false, false},
        {"OUTPUT Target GO x 2", true, 1, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        for (const char* keyword : {"", "END"}) {
            BlockFile block(std::string(keyword) + c.line + "\n}\n");
            Item item;
            const Status read = block.read(item, "Source");
            EXPECT_EQ(static_cast<bool>(read), c.ok);
            Connection* list = *keyword ? item.endOutputs : item.outputs;
            EXPECT_EQ(countConnections(item.outputs) + countConnections(item.endOutputs), c.count);
            if (!c.ok) {
                // The line, and what its form needs.
                EXPECT_EQ(
                    read.message().rfind("Bad connection " + std::string(keyword) + c.line, 0), 0u)
                    << read.message();
                EXPECT_NE(read.message().find("then no number, one or four"), std::string::npos);
                continue;
            }
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->source, &item);
            EXPECT_EQ(list->targetTitle, "Target");
            EXPECT_EQ(list->inputName, "GO");
            EXPECT_EQ(list->isConstant, c.isConstant);
            EXPECT_EQ(list->motion.enabled, c.motionEnabled);
        }
    }
}

TEST(ItemReader, ConnectionFieldsAndOrder) {
    BlockFile block(R"(OUTPUT First MOVE 10 20 30 40
OUTPUT panelitem SCORE 3
OUTPUT PANELITEM PLAIN
OPERATOR Other TURN
OPERATOR Second PUSH 5
}
)");
    Item item;
    ASSERT_TRUE(block.read(item));
    ASSERT_EQ(countConnections(item.outputs), 3);
    const Connection* motion = item.outputs;
    EXPECT_EQ(motion->motion.angle, 10);
    EXPECT_EQ(motion->motion.length, 20);
    EXPECT_EQ(motion->motion.x, 30); // factors as written, not scaled
    EXPECT_EQ(motion->motion.y, 40);
    const Connection* panel = connection(item.outputs, 1);
    EXPECT_EQ(panel->targetTitle, ""); // the constant form keeps no panel title
    EXPECT_EQ(panel->constant, 3);
    EXPECT_EQ(connection(item.outputs, 2)->targetTitle, "PANELITEM");
    ASSERT_EQ(countConnections(item.operators), 2);
    EXPECT_EQ(item.operators->targetTitle, "Other");
    EXPECT_EQ(item.operators->next->targetTitle, "Second");
    EXPECT_FALSE(item.operators->next->isConstant);
}

TEST(ItemReader, ShapesAndTheirColourAndWidth) {
    resetSession();
    screenScale().scaleDiag = 2.0;
    BlockFile block(R"(LINECOLOR 2
LINEWIDTH 1
SHAPECOLOR 5
SHAPEWIDTH 5
SHAPE 0 10 L
SHAPECOLOR 12
SHAPEWIDTH 3
SHAPE 90 20 Line
SHAPE 0 5 C
SHAPE 45 7 M
}
)");
    Item item;
    ASSERT_TRUE(block.read(item));
    Shape* first = item.shapes;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->pose.length, 10); // page units at any scale
    EXPECT_EQ(first->colorIndex, 9);
    EXPECT_EQ(first->penWidth, 3);
    Shape* second = first->next;
    ASSERT_NE(second, nullptr);
    // Only the first letter of the kind counts.
    EXPECT_NE(dynamic_cast<ShapeLine*>(second), nullptr);
    EXPECT_EQ(second->colorIndex, 2);
    EXPECT_EQ(second->penWidth, 1);
    Shape* third = second->next;
    ASSERT_NE(third, nullptr);
    EXPECT_NE(dynamic_cast<ShapeCircle*>(third), nullptr);
    EXPECT_EQ(third->pose.length, 5);
    Shape* fourth = third->next;
    ASSERT_NE(fourth, nullptr);
    EXPECT_NE(dynamic_cast<ShapeInvisible*>(fourth), nullptr);
    EXPECT_EQ(fourth->pose.angle, 45);
    EXPECT_EQ(fourth->next, nullptr);
    resetSession();
}

TEST(ItemReader, TextLinesAreJoinedAndEndedWithCrLf) {
    BlockFile block("@Water boils \n  text: @at one hundred degrees.\n@\n}\n");
    Item item;
    ASSERT_TRUE(block.read(item));
    EXPECT_EQ(item.text, "Water boils at one hundred degrees.\r\n");
}

// The words to read take the whole rest of the line, "@" and "KEY" included, without the
// blanks around them; an ALTTEXT line without words is no line the reader knows.
TEST(ItemReader, AltTextTakesTheRestOfTheLine) {
    BlockFile block("ALTTEXT   A key @ the door  \n@Door\n}\n");
    Item item;
    ASSERT_TRUE(block.read(item));
    EXPECT_EQ(item.spokenName, "A key @ the door");
    EXPECT_EQ(item.text, "Door");

    BlockFile empty("ALTTEXT  \n}\n");
    Item unnamed;
    EXPECT_EQ(empty.read(unnamed, "Ball").message(), "Bad MODE ALTTEXT   in Item Ball");
}

TEST(ItemReader, FileWordWinsOverGatheredText) {
    for (const char* text : {"@gathered\nFILE word\n}\n", "FILE word\n@gathered\n}\n"}) {
        BlockFile block(text);
        Item item;
        ASSERT_TRUE(block.read(item));
        EXPECT_EQ(item.text, "word");
    }
}

TEST(ItemReader, TextAccumulatorStopsAtItsLimits) {
    // Ten pieces of 200 and one of 41 make 2041 characters; a piece that would reach 2042 is
    // dropped; line breaks go on while fewer than 2044 are held.
    std::string lesson;
    for (int i = 0; i < 10; ++i)
        lesson += "@" + std::string(200, static_cast<char>('a' + i)) + "\n";
    lesson += "@" + std::string(41, 'k') + "\n";
    lesson += "@z\n@\n@\n@\n}\n";
    BlockFile block(lesson);
    Item item;
    ASSERT_TRUE(block.read(item));
    ASSERT_EQ(item.text.size(), 2045u);
    EXPECT_EQ(item.text.substr(2000, 41), std::string(41, 'k'));
    EXPECT_EQ(item.text.substr(2041), "\r\n\r\n");
    EXPECT_EQ(item.text.find('z'), std::string::npos);
}

TEST(ItemReader, BlockEndsAtABraceAnywhereOrAtTheEndOfTheFile) {
    struct Case {
        const char* lesson;
        const char* text;
        const char* next;
    };
    const Case cases[] = {
        {"@before\n@price {5}\n@after\n}\nNEXT\n", "before", "@after"},
        {"@before\n} end of the item, a comment\nNEXT\n", "before", "NEXT"},
        {"@before\n   }\nNEXT\n", "before", "NEXT"},
        {"@before\n@last", "beforelast", "<end>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lesson);
        BlockFile block(c.lesson);
        CommandTaker item;
        ASSERT_TRUE(block.read(item));
        EXPECT_EQ(item.text, c.text);
        EXPECT_EQ(item.endDefinitions, 1);
        EXPECT_EQ(nextLine(block), c.next);
    }
}

TEST(ItemReader, LabelAnchorIsTheLatestShapeAtTheLatestTextLine) {
    struct Case {
        const char* lesson;
        int anchor; // index of the anchor shape, -1 for none
    };
    const Case cases[] = {
        {"@text\nSHAPE 0 10 L\n}\n", -1},
        {"SHAPE 0 10 L\n@text\nSHAPE 0 10 L\n}\n", 0},
        {"SHAPE 0 10 L\nSHAPE 0 10 L\n@text\n@\n}\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lesson);
        for (bool label : {true, false}) {
            BlockFile block(c.lesson);
            Item item;
            item.type = label ? ItemType::Label : ItemType::Text;
            ASSERT_TRUE(block.read(item));
            Shape* expected = nullptr;
            if (label && c.anchor >= 0) {
                expected = item.shapes;
                for (int i = 0; i < c.anchor; ++i)
                    expected = expected->next;
            }
            EXPECT_EQ(item.anchorShape, expected);
        }
    }
}

TEST(ItemReader, MarksAndWordsAnywhereAfterTheKeywordRows) {
    struct Case {
        const char* line;
        Visibility visibility;
        int keys;
        bool toType;
    };
    // Highlighted stands for "left as it was".
    using enum Visibility;
    const Case cases[] = {
        {"please APPEAR now", Shown, 0, false},
        {"xHIDEx", Hidden, 0, false},
        {"HIDE and APPEAR", Hidden, 0, false},
        {"  KEYBUTTON Yes", Highlighted, 1, false},
        {"KEYAUTOTURN and HIDE", Highlighted, 0, false},
        {"@ HIDE", Highlighted, 0, false},
        {"hide", Highlighted, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        BlockFile block(std::string(c.line) + "\n}\n");
        CommandTaker item;
        item.visibility = Visibility::Highlighted;
        ASSERT_TRUE(block.read(item));
        EXPECT_EQ(item.visibility, c.visibility);
        EXPECT_EQ(item.keyCount, c.keys);
        EXPECT_EQ(item.commands.size(), c.toType ? 1u : 0u);
    }
}

TEST(ItemReader, MissingTitleFails) {
    for (const char* title : {static_cast<const char*>(nullptr), ""}) {
        BlockFile block("LOC 1 2\n}\n");
        Item item;
        EXPECT_EQ(readItemBlock(&item, title, nullptr, block.file).message(), "No title on ITEM");
        EXPECT_TRUE(isInvalid(block.file));
    }
}

TEST(ItemReader, TypeLinesReachReadCommandAndItsRefusalFails) {
    BlockFile block("MODE ONE\nLOC 1 2\nMODE BAD\nMODE NEVER\n}\n");
    CommandTaker item;
    const Status read = block.read(item, "Typed");
    EXPECT_EQ(item.commands, (std::vector<std::string>{"MODE ONE", "MODE BAD"}));
    ASSERT_FALSE(read);
    EXPECT_EQ(read.message(), "Bad MODE MODE BAD in Item Typed");
    EXPECT_EQ(read.diagnostic().line, 3) << "the line it failed on";
    EXPECT_EQ(item.endDefinitions, 0);
}

TEST(ItemReader, ExistingTitleIsKept) {
    BlockFile block("}\n");
    Item item;
    item.title = "Kept";
    ASSERT_TRUE(block.read(item, "Other"));
    EXPECT_EQ(item.title, "Kept");
}

TEST(ItemReader, WildNumbersAreHandledSafely) {
    BlockFile block(R"(LINECOLOR 1e40
LINEWIDTH nan
LOC 1e300 -inf
SIZE 1e30 -1e30
MSEC 99999999999999999999
SHAPE 1e308 inf L
SHAPEWIDTH -1e99
}
)");
    Item item;
    ASSERT_TRUE(block.read(item));
    EXPECT_EQ(item.lineColor, std::numeric_limits<int>::max());
    EXPECT_EQ(item.lineWidth, 0);
    EXPECT_EQ(item.width, kCoordinateLimit);
    EXPECT_EQ(item.height, -kCoordinateLimit);
    EXPECT_EQ(item.msec, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(item.shapes->penWidth, 0);
    TestPage page;
    item.display = &page.display(1);
    item.surface = item.display->surface;
    item.visibility = Visibility::Shown;
    item.PrepareShapes();
    item.DrawShapes();
    item.region.reset();
    item.MakeRegion();
    EXPECT_LE(item.bounds.right, kCoordinateLimit);
    item.display = nullptr;
}

TEST(ItemReader, HugeBlockIsReadInLinearTime) {
    // Each SHAPE or connection line must not walk the whole chain made so far: 20 000 of each
    // would take many seconds that way.
    constexpr int kLines = 20000;
    std::string lesson;
    lesson.reserve(kLines * 3 * 16);
    for (int i = 0; i < kLines; ++i)
        lesson += "SHAPE 0 1 L\nOUTPUT T GO\nOPERATOR T GO\n";
    lesson += "}\n";
    BlockFile block(lesson);
    Item item;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(block.read(item));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(3));

    int shapes = 0;
    Shape* last = nullptr;
    for (Shape* shape = item.shapes; shape; shape = shape->next, ++shapes) {
        EXPECT_EQ(shape->previous, last);
        last = shape;
    }
    EXPECT_EQ(shapes, kLines);
    EXPECT_EQ(countConnections(item.outputs), kLines);
    EXPECT_EQ(countConnections(item.operators), kLines);
}

} // namespace lorvenna

// The recording surface that the item tests draw on: its records and its text layout.
#include "tests/support/RecordingSurface.h"

#include <gtest/gtest.h>

namespace lorvenna {

TEST(RecordingSurface, KeepsPositionAndPenAndRecordsThem) {
    RecordingSurface surface;
    const Pen red{3, {255, 0, 0}, false};
    surface.moveTo(1, 2);
    EXPECT_EQ(surface.selectPen(&red), nullptr);
    surface.lineTo(10, 20);
    EXPECT_EQ(surface.currentPosition(), (Point{10, 20}));
    EXPECT_EQ(surface.selectPen(nullptr), &red);
    surface.lineTo(5, 5);
    surface.setBrush({0, 0, 0});
    surface.ellipse({0, 0, 4, 4});
    EXPECT_EQ(
        surface.calls(),
        (std::vector<std::string>{"moveTo 1,2", "selectPen 3 #FF0000", "lineTo 10,20 pen 3 #FF0000",
                                  "selectPen stock", "lineTo 5,5 pen 1 #000000", "setBrush #000000",
                                  "ellipse 0,0,4,4 pen 1 #000000 brush #000000"}));
    EXPECT_EQ(surface.callsStartingWith("lineTo").size(), 2u);
    EXPECT_TRUE(surface.contains("moveTo 1,2"));
}

TEST(RecordingSurface, LaysTextOutInLinesOfFixedSize) {
    struct Case {
        const char* text;
        int width;
        unsigned flags;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Water boils at one hundred", 80, TextWordBreak, {"Water", "boils at", "one", "hundred"}},
        {"Water boils", 88, TextWordBreak, {"Water boils"}},
        {"Extraordinary words", 40, TextWordBreak, {"Extraordinary", "words"}},
        {"one\r\ntwo\nthree\rfour", 0, TextLeft, {"one", "two", "three", "four"}},
        {"ends with a break\r\n", 400, TextWordBreak, {"ends with a break", ""}},
        {"one\r\ntwo", 400, TextSingleLine | TextWordBreak, {"onetwo"}},
        {"", 100, TextWordBreak, {""}},
        {"a  b", 8, TextWordBreak, {"a", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RecordingSurface::layOut(c.text, c.width, c.flags), c.lines);
    }
}

TEST(RecordingSurface, MeasuresWithCalcRect) {
    RecordingSurface surface;
    Rect box{10, 20, 90, 20};
    EXPECT_EQ(surface.drawText("Water boils at one hundred", box, TextWordBreak | TextCalcRect),
              64);
    EXPECT_EQ(box, (Rect{10, 20, 74, 84}));
    Rect drawn{0, 0, 100, 100};
    EXPECT_EQ(surface.drawText("Hi", drawn, TextCenter), 16);
    EXPECT_EQ(drawn, (Rect{0, 0, 100, 100})); // only measuring changes the box
    EXPECT_EQ(surface.measureText("Hi"), (Size{16, 16}));
    EXPECT_EQ(surface.calls().back(), "measureText \"Hi\"");
    EXPECT_EQ(surface.calls().front(),
              "drawText \"Water boils at one hundred\" 10,20,90,20 wordbreak|calcrect");
}

} // namespace lorvenna

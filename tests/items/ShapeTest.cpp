// Shapes: where chains of segments end, what they draw with which pen, and the outline points.
#include "items/Shape.h"
#include "platform/ScreenScale.h"

#include "items/Palette.h"
#include "tests/items/ItemTestSupport.h"

#include <gtest/gtest.h>

namespace lorvenna {

namespace {

struct Segment {
    double angle;
    double length;
    const char* kind;
};

// An item of the test page at (x, y) with the chain, drawn once; returns the surface's calls
// from the first drawing call on.
struct DrawnChain {
    TestPage page;
    Item* item = nullptr;

    DrawnChain(double x, double y, double angle, std::initializer_list<Segment> chain,
               Visibility visibility = Visibility::Shown) {
        item = &page.add(1, "Chain");
        item->pose.x = x;
        item->pose.y = y;
        item->pose.angle = angle;
        item->lineWidth = 1;
        item->visibility = visibility;
        for (const Segment& s : chain)
            item->AddShape(s.angle, s.length, s.kind);
        item->PrepareShapes();
        surface().clear();
        item->DrawShapes();
    }
    RecordingSurface& surface() { return page.surfaces[1]; }
    std::vector<std::string> calls(const char* prefix) {
        return surface().callsStartingWith(prefix);
    }
};

const std::string kBlackPen = "pen 1 #000000";

} // namespace

TEST(Shape, LineChainsTurnWithTheItem) {
    struct Case {
        double itemAngle;
        std::vector<std::string> lines;
        double endX, endY;
    };
    const Case cases[] = {
        {0, {"lineTo 300,300 " + kBlackPen, "lineTo 300,350 " + kBlackPen}, 300, 350},
        {90, {"lineTo 200,400 " + kBlackPen, "lineTo 150,400 " + kBlackPen}, 150, 400},
        {180, {"lineTo 100,300 " + kBlackPen, "lineTo 100,250 " + kBlackPen}, 100, 250},
        {270, {"lineTo 200,200 " + kBlackPen, "lineTo 250,200 " + kBlackPen}, 250, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.itemAngle);
        DrawnChain chain(200, 300, c.itemAngle, {{0, 100, "L"}, {90, 50, "L"}});
        EXPECT_EQ(chain.surface().calls().front(), "moveTo 200,300");
        EXPECT_EQ(chain.calls("lineTo"), c.lines);
        EXPECT_EQ(chain.item->endX, c.endX);
        EXPECT_EQ(chain.item->endY, c.endY);
    }
}

TEST(Shape, CircleInsideAChainDoesNotMoveIt) {
    DrawnChain chain(0, 0, 0, {{0, 100, "L"}, {0, 20, "C"}, {90, 50, "L"}});
    EXPECT_EQ(chain.calls("ellipse"),
              std::vector<std::string>{"ellipse 80,-20,120,20 " + kBlackPen + " brush #FFFFFF"});
    EXPECT_EQ(chain.calls("lineTo"), (std::vector<std::string>{"lineTo 100,0 " + kBlackPen,
                                                               "lineTo 100,50 " + kBlackPen}));
    const std::vector<Point> points{{0, 0}, {100, 0}, {100, 0}, {100, 50}};
    EXPECT_EQ(OutlinePoints::points(), points);
    // The surface's pen is put back after each segment.
    EXPECT_EQ(chain.surface().selectedPen(), nullptr);
}

TEST(Shape, InvisibleSegmentMovesThePenOnly) {
    DrawnChain chain(0, 0, 0, {{0, 50, "M"}, {0, 50, "L"}});
    EXPECT_EQ(chain.surface().calls(),
              (std::vector<std::string>{"moveTo 0,0", "moveTo 50,0", "selectPen 1 #000000",
                                        "lineTo 100,0 " + kBlackPen, "selectPen stock"}));
}

TEST(Shape, HiddenChainDrawsNothingButKeepsItsOutline) {
    DrawnChain chain(10, 10, 0, {{0, 100, "L"}, {90, 100, "L"}, {0, 5, "C"}}, Visibility::Hidden);
    EXPECT_TRUE(chain.calls("lineTo").empty());
    EXPECT_TRUE(chain.calls("ellipse").empty());
    EXPECT_EQ(chain.calls("moveTo"),
              (std::vector<std::string>{"moveTo 10,10", "moveTo 110,10", "moveTo 110,110",
                                        "moveTo 110,110"}));
    EXPECT_EQ(OutlinePoints::points().size(), 4u);
    ASSERT_TRUE(chain.item->region);
    EXPECT_EQ(chain.item->bounds, (Rect{0, 0, 120, 120}));
}

TEST(Shape, ModesPickThePen) {
    struct Case {
        Visibility mode;
        std::vector<std::string> drawn;
    };
    using enum Visibility;
    // Colour 2: normal (226, 14, 14), highlight (0, 128, 128).
    const Case cases[] = {
        {Shown, {"lineTo 10,0 pen 1 #E20E0E", "ellipse 7,-3,13,3 pen 1 #E20E0E brush #FFFFFF"}},
        {Highlighted,
         {"lineTo 10,0 pen 1 #008080", "ellipse 7,-3,13,3 pen 1 #008080 brush #FFFFFF"}},
        {Inverted, {"lineTo 10,0 pen 1 #E20E0E", "ellipse 7,-3,13,3 pen 1 #E20E0E brush #FFFFFF"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        TestPage page;
        Item& item = page.add(1, "Modes");
        item.lineWidth = 1;
        item.lineColor = 2;
        item.AddShape(0, 10, "L");
        item.AddShape(0, 3, "C");
        item.visibility = c.mode;
        item.PrepareShapes();
        item.DrawShapes();
        std::vector<std::string> drawn = page.surfaces[1].callsStartingWith("lineTo");
        for (auto& e : page.surfaces[1].callsStartingWith("ellipse"))
            drawn.push_back(e);
        EXPECT_EQ(drawn, c.drawn);
        // Every mode records the outline.
        EXPECT_EQ(OutlinePoints::points().size(), 3u);
    }
}

TEST(Shape, ColourIsClampedAndInvisibleShapesIgnoreIt) {
    struct Case {
        const char* kind;
        int color;
        int expected;
    };
    const Case cases[] = {
        {"L", 12, 9}, {"L", -3, 0}, {"L", 9, 9}, {"L", 0, 0},  {"C", 10, 9},
        {"C", -1, 0}, {"C", 4, 4},  {"M", 5, 0}, {"M", 12, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.color));
        Item item;
        Shape* shape = item.AddShape(0, 10, c.kind);
        ASSERT_NE(shape, nullptr);
        shape->SetColor(c.color);
        EXPECT_EQ(shape->colorIndex, c.expected);
    }
    // The colour given by the owner is clamped as well.
    Item owner;
    owner.lineColor = 40;
    EXPECT_EQ(owner.AddShape(0, 1, "L")->colorIndex, 9);
}

TEST(Shape, WidthStaysInPageUnitsAtAnyScaleAndIsNeverNegative) {
    resetSession();
    screenScale().scaleDiag = 1.5;
    Item item;
    item.lineWidth = 3;
    Shape* shape = item.AddShape(0, 10, "L");
    EXPECT_EQ(shape->penWidth, 3);
    shape->SetWidth(-2);
    EXPECT_EQ(shape->penWidth, 0);
    resetSession();
}

TEST(Shape, ThousandAndFirstPointIsDroppedButDrawingGoesOn) {
    TestPage page;
    Item& item = page.add(1, "Long");
    item.visibility = Visibility::Shown;
    for (int i = 0; i < 1000; ++i)
        item.AddShape(0, 1, "L");
    item.DrawShapes();
    const auto& points = OutlinePoints::points();
    ASSERT_EQ(points.size(), 1000u);
    EXPECT_EQ(points.back(), (Point{999, 0}));
    EXPECT_EQ(page.surfaces[1].callsStartingWith("lineTo").size(), 1000u);
    EXPECT_EQ(page.surfaces[1].calls().back(), "selectPen stock");
    EXPECT_EQ(item.endX, 1000);
}

TEST(Shape, EndPointTruncatesEachSegment) {
    // 1.5 + 1.5 would be 3, but each segment starts from the truncated end of the one before.
    DrawnChain chain(0, 0, 0, {{0, 1.5, "L"}, {0, 1.5, "L"}});
    EXPECT_EQ(chain.item->endX, 2);
    EXPECT_EQ(chain.item->shapes->next->pose.x, 2.5); // the unrounded end is kept

    // Negative coordinates truncate toward zero.
    DrawnChain left(0, 0, 0, {{180, 1.5, "L"}});
    EXPECT_EQ(left.item->endX, -1);

    // 30 degrees: sin is 0.49999999999999994 in binary, yet the segment ends at y 50.
    DrawnChain slope(0, 0, 0, {{-30, 100, "L"}});
    EXPECT_EQ(slope.item->endY, -50);
    EXPECT_EQ(slope.item->endX, 86);
}

TEST(Shape, ChainKeepsItsOrderAndLinks) {
    Item item;
    Shape* a = item.AddShape(0, 1, "L");
    Shape* b = item.AddShape(0, 1, "C");
    Shape* c = item.AddShape(0, 1, "M");
    EXPECT_EQ(item.shapes, a);
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(b->next, c);
    EXPECT_EQ(c->previous, b);
    EXPECT_EQ(b->previous, a);
    EXPECT_EQ(a->owner, &item);
    EXPECT_NE(dynamic_cast<ShapeCircle*>(b), nullptr);
    EXPECT_NE(dynamic_cast<ShapeInvisible*>(c), nullptr);
}

} // namespace lorvenna

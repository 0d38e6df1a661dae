// The item base class: control ids, boxes and regions, the hit test, start-up and deletion.
#include "items/Item.h"

#include "items/Shape.h"
#include "tests/items/ItemTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace lorvenna {

TEST(Item, ControlIdsCountUpFrom808SharedWithDisplayWindows) {
    resetSession();
    Item first;
    EXPECT_EQ(first.controlId, 808);
    EXPECT_EQ(nextControlId(), 809); // a display window draws from the same counter
    Item second;
    EXPECT_EQ(second.controlId, 810);

    // Past 32767 the 16-bit counter turns negative; the id still matches its notifications.
    while (nextControlId() != 32767) {
    }
    Item wrapped;
    EXPECT_EQ(wrapped.controlId, -32768);
    EXPECT_TRUE(controlIdMatches(wrapped.controlId, notificationWord(kNotifyClicked, 0x8000)));
    EXPECT_FALSE(controlIdMatches(wrapped.controlId, notificationWord(kNotifyClicked, 0x7FFF)));
    resetSession();
}

TEST(Item, BoxWithoutShapesComesFromSizeTextOrDefault) {
    struct Case {
        const char* name;
        double x, y;
        int width, height; // SIZE, or 0
        const char* text;
        Rect bounds;
        int expectedWidth, expectedHeight, area;
    };
    // "Hi" measures 16 x 16 on the recording surface.
    const Case cases[] = {
        {"default 42 x 24", 10, 20, 0, 0, "", {10, 20, 52, 44}, 42, 24, 1008},
        {"SIZE 100 50", 10, 20, 100, 50, "", {10, 20, 100, 70}, 100, 50, 5000},
        {"SIZE wins over text", 10, 20, 100, 50, "Hi", {10, 20, 100, 70}, 100, 50, 5000},
        {"measured text", 100, 50, 0, 0, "Hi", {90, 45, 136, 76}, 36, 26, 936},
        {"fractions truncate", 10.9, 20.9, 0, 0, "", {10, 20, 52, 44}, 42, 24, 1008},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSurface surface;
        Item item;
        item.surface = &surface;
        item.pose.x = c.x;
        item.pose.y = c.y;
        item.width = c.width;
        item.height = c.height;
        item.text = c.text;
        item.MakeRegion();
        EXPECT_EQ(item.bounds, c.bounds);
        EXPECT_EQ(item.width, c.expectedWidth);
        EXPECT_EQ(item.height, c.expectedHeight);
        EXPECT_EQ(item.area, c.area);
        ASSERT_TRUE(item.region);
    }
}

TEST(Item, RegionIsMadeOnce) {
    Item item;
    item.pose = {0, 0, 0, 10, 20};
    item.MakeRegion();
    item.pose.x = 300;
    item.MakeRegion();
    EXPECT_EQ(item.bounds, (Rect{10, 20, 52, 44}));
    EXPECT_TRUE(item.region->contains(11, 21));
}

TEST(Item, StraightOutlineGetsLocationAndEndBoxWidenedBy20) {
    TestPage page;
    Item& item = page.add(1, "Line");
    item.pose.x = 100;
    item.pose.y = 100;
    item.visibility = Visibility::Shown;
    item.AddShape(0, 50, "L");
    item.DrawShapes();

    EXPECT_EQ(item.endX, 150);
    EXPECT_EQ(item.endY, 100);
    EXPECT_EQ(item.bounds, (Rect{80, 80, 170, 120}));
    EXPECT_EQ(item.area, 90 * 40);
    EXPECT_EQ(item.HitTest(80, 80), 3600);
    EXPECT_EQ(item.HitTest(169, 119), 3600);
    EXPECT_EQ(item.HitTest(170, 100), 0);
    EXPECT_EQ(item.HitTest(100, 120), 0);
}

TEST(Item, ClosedOutlineGetsRegionBoxWidenedBy10) {
    TestPage page;
    Item& item = page.add(1, "Square");
    item.pose.x = 50;
    item.pose.y = 50;
    item.visibility = Visibility::Shown;
    // Right, down, left, up: the last side must come back to x 50 exactly.
    for (double angle : {0.0, 90.0, 180.0, 270.0})
        item.AddShape(angle, 100, "L");
    item.DrawShapes();

    const std::vector<Point> expected{{50, 50}, {150, 50}, {150, 150}, {50, 150}, {50, 50}};
    EXPECT_EQ(OutlinePoints::points(), expected);
    EXPECT_EQ(item.bounds, (Rect{40, 40, 160, 160}));
    EXPECT_EQ(item.area, 120 * 120);
    EXPECT_EQ(item.motion.x, 50); // the end moved from (0, 0) to (50, 50)
    EXPECT_TRUE(item.region->contains(100, 100));
}

TEST(Item, HitTestTakesSmallestAreaAndEarlierItemOnTies) {
    struct Box {
        Rect bounds;
        int area;
    };
    struct Case {
        const char* name;
        std::vector<Box> items;
        int x, y;
        int expected; // index of the item hit, -1 for none
    };
    const Case cases[] = {
        {"smaller wins", {{{0, 0, 100, 100}, 10000}, {{10, 10, 20, 20}, 100}}, 15, 15, 1},
        {"smaller wins when first",
         {{{10, 10, 20, 20}, 100}, {{0, 0, 100, 100}, 10000}},
         15,
         15,
         0},
        {"tie goes to the earlier", {{{0, 0, 50, 50}, 2500}, {{0, 0, 50, 50}, 2500}}, 5, 5, 0},
        {"a million is never hit", {{{0, 0, 1000, 1000}, 1000000}}, 5, 5, -1},
        {"just below a million", {{{0, 0, 1000, 1000}, 999999}}, 5, 5, 0},
        {"negative area compares as huge", {{{0, 0, 50, 50}, -5}, {{0, 0, 60, 60}, 3600}}, 5, 5, 1},
        {"right edge is outside", {{{0, 0, 50, 50}, 2500}}, 50, 5, -1},
        {"top left corner is inside", {{{0, 0, 50, 50}, 2500}}, 0, 0, 0},
        {"nothing there", {{{0, 0, 50, 50}, 2500}}, 70, 70, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::unique_ptr<Item>> items;
        for (const Box& box : c.items) {
            items.push_back(std::make_unique<Item>());
            items.back()->bounds = box.bounds;
            items.back()->area = box.area;
            if (items.size() > 1)
                items[items.size() - 2]->next = items.back().get();
        }
        Item* hit = hitTestItems(items.front().get(), c.x, c.y);
        EXPECT_EQ(hit, c.expected < 0 ? nullptr : items[c.expected].get());
    }
    EXPECT_EQ(hitTestItems(nullptr, 0, 0), nullptr);
}

namespace {
class ClickCounter : public Item {
public:
    bool Click(Display* d, int message, int x, int y) override {
        clicks.push_back({d, message, x, y});
        return true;
    }
    struct Call {
        Display* display;
        int message, x, y;
    };
    std::vector<Call> clicks;
};
} // namespace

TEST(Item, StartupActionPreparesShapesAndClicksTheCurrentQuestion) {
    TestPage page;
    auto& question = page.add<ClickCounter>(1, "Question");
    question.lineWidth = 2;
    question.lineColor = 3;
    question.AddShape(0, 10, "L");
    question.AddShape(0, 10, "L");
    question.isCurrentQuestion = true;
    EXPECT_TRUE(question.StartupAction());
    ASSERT_EQ(question.clicks.size(), 1u);
    EXPECT_EQ(question.clicks[0].display, &page.display(1));
    EXPECT_EQ(question.clicks[0].message, 0);
    // Both shapes got their normal and highlight pens from the display's cache: two pens.
    EXPECT_EQ(page.display(1).pens.size(), 2u);
    EXPECT_EQ(question.shapes->normalPen, question.shapes->next->normalPen);
    EXPECT_EQ(question.shapes->normalPen->color, (Color{226, 154, 14}));
    EXPECT_EQ(question.shapes->highlightPen->color, (Color{0, 0, 240}));

    auto& plain = page.add<ClickCounter>(1, "Plain");
    EXPECT_TRUE(plain.StartupAction());
    EXPECT_TRUE(plain.clicks.empty());
}

TEST(Item, DeletedItemIsNoLongerAliveNorInTheAnswerFlow) {
    resetSession();
    auto* item = new Item();
    auto* other = new Item();
    EXPECT_TRUE(isLiveItem(item));
    EXPECT_NE(liveItemSerial(item), liveItemSerial(other));
    pageOnScreen().answer.choose(item, nullptr);
    pageOnScreen().answer.startQuestion(*item);
    delete item;
    EXPECT_FALSE(isLiveItem(item));
    EXPECT_EQ(liveItemSerial(item), 0u);
    EXPECT_EQ(pageOnScreen().answer.chosenItem(), nullptr);
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), nullptr);
    EXPECT_TRUE(isLiveItem(other));
    delete other;
}

TEST(Item, WildCoordinatesStayWithinBounds) {
    // Numbers far beyond any screen must neither overflow nor make giant regions.
    TestPage page;
    Item& item = page.add(1, "Far");
    item.pose.x = 1e300;
    item.pose.y = -1e300;
    item.visibility = Visibility::Shown;
    item.AddShape(45, 1e308, "L");
    item.AddShape(std::numeric_limits<double>::quiet_NaN(), 10, "C");
    item.DrawShapes();
    EXPECT_LE(item.bounds.right, kCoordinateLimit + 20);
    EXPECT_GE(item.bounds.top, -kCoordinateLimit - 20);

    Item boxed;
    boxed.pose.x = std::numeric_limits<double>::infinity();
    boxed.width = kCoordinateLimit;
    boxed.height = kCoordinateLimit;
    boxed.MakeRegion();
    EXPECT_EQ(boxed.area, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(truncateToInt(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(truncateToInt(-1e20), std::numeric_limits<int>::min());
    EXPECT_EQ(truncateToInt(-2.9), -2);
}

} // namespace lorvenna

// ANI figures: their lines, motion within the ranges, restart, hitch, rubber band, the value
// passed on after every drawing, and the region made at the first drawing.
#include "items/types/ItemAni.h"

#include "items/Palette.h"
#include "items/RunObjects.h"
#include "items/Shape.h"
#include "platform/ChildWindow.h"
#include "platform/QtChildWindow.h"
#include "platform/ScreenScale.h"
#include "tests/items/ItemTestSupport.h"
#include "tests/items/types/ItemBench.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lorvenna {

namespace {

// A figure on paper, a sender whose OUTPUT moves it, and a probe that receives what the
// figure passes on.
struct FigureBench {
    explicit FigureBench(const std::string& figureLines, const char* move = "0 0 2 0") {
        figure = paper.add<ItemAni>("Fig", figureLines + "\nOUTPUT Probe PASSED");
        sender = paper.add<Item>("Sender", std::string("OUTPUT Fig MOVE ") + move);
        probe = paper.add<Receiver>("Probe", "");
        if (!figure || !sender || !probe || !figure->Connect() || !sender->Connect())
            return;
        figure->StartupAction();
        paper.surface.clear();
    }
    void move(double value) { SendOutputs(*sender, value, false); }
    std::vector<double> passed() const {
        std::vector<double> values;
        for (const auto& r : probe->received)
            values.push_back(r.value);
        return values;
    }

    FreshSession fresh;
    PaperDisplay paper{1, 800, 600};
    ItemAni* figure = nullptr;
    Item* sender = nullptr;
    Receiver* probe = nullptr;
};

} // namespace

TEST(ItemAni, LinesOfItsOwn) {
    FreshSession fresh;
    PaperDisplay paper;
    ItemAni* still = paper.add<ItemAni>("Still", "STOP\nHITCH Arm\nSHAPE 0 10 L\nBANDTO Post");
    ASSERT_NE(still, nullptr);
    EXPECT_FALSE(still->running);
    ASSERT_TRUE(still->hitch && still->rubberBand);
    EXPECT_EQ(still->hitch->targetTitle, "Arm");
    EXPECT_EQ(still->rubberBand->targetTitle, "Post");

    EXPECT_EQ(paper.add<ItemAni>("Fig", " STOP"), nullptr) << "STOP is the whole line";
    EXPECT_EQ(paper.lastMessage(), "Bad MODE  STOP in Item Fig");
    EXPECT_EQ(paper.add<ItemAni>("Fig", "BANDTO Post\nSHAPE 0 10 L"), nullptr);
    EXPECT_EQ(paper.lastMessage(), "BANDTO from Fig to Post without SHAPE.");
}

TEST(ItemAni, MovesAddUpWithinTheRangesAndArePassedOnAfterEveryDrawing) {
    FigureBench bench("LOC 200 100\nSHAPE 0 50 L\nPLUSRANGE 360 300 600\nMINUSRANGE -360 100 0");
    ItemAni* fig = bench.figure;
    ASSERT_NE(fig, nullptr) << bench.paper.lastMessage();
    for (int i = 0; i < 10; ++i) {
        bench.move(1.0);
        fig->Draw();
    }
    EXPECT_EQ(fig->pose.x, 220.0);
    EXPECT_EQ(bench.paper.surface.callsStartingWith("lineTo").back(),
              "lineTo 270,100 pen 0 #000000");
    EXPECT_EQ(bench.passed(), std::vector<double>(10, 1.0));

    // Several moves between drawings add up; the last one alone is passed on, then 0.
    bench.move(1.0);
    bench.move(3.0);
    fig->Draw();
    fig->Draw();
    EXPECT_EQ(fig->pose.x, 228.0);
    EXPECT_EQ(bench.passed().back(), 0.0);
    EXPECT_EQ(bench.passed()[10], 3.0);

    bench.move(500.0);
    fig->Draw();
    EXPECT_EQ(fig->pose.x, 300.0);
    bench.move(-500.0);
    fig->Draw();
    EXPECT_EQ(fig->pose.x, 100.0);
    EXPECT_EQ(fig->endX, 150.0);

    // Each range line holds angle, x and y together: y 100 is pulled up to 0.
    FigureBench held("LOC 200 200\nANGLE 30\nSHAPE 0 50 L\nPLUSRANGE 0 300 0");
    held.figure->Draw();
    EXPECT_EQ(held.figure->pose.y, 0.0);
    EXPECT_EQ(held.figure->pose.angle, 0.0);
}

// A figure moves in page units whatever the screen's scale: the window scales what it draws.
TEST(ItemAni, StretchAndTurnInPageUnitsAtAnyScaleWithAFloorOfOne) {
    FigureBench bench("LOC 100 100\nSHAPE 0 50 L\nSHAPE 90 20 L", "10 5 1 1");
    ItemAni* fig = bench.figure;
    ASSERT_NE(fig, nullptr) << bench.paper.lastMessage();
    screenScale().scaleX = screenScale().scaleY = screenScale().scaleDiag = 2.0;
    bench.move(2.0);
    EXPECT_EQ(fig->shapes->pose.length, 60.0);
    fig->Draw();
    EXPECT_EQ(fig->pose.angle, 20.0);
    EXPECT_EQ(fig->pose.x, 102.0);
    EXPECT_EQ(fig->pose.y, 102.0);
    bench.move(-100.0);
    EXPECT_EQ(fig->shapes->pose.length, 1.0);
    EXPECT_EQ(fig->shapes->next->pose.length, 1.0);
}

TEST(ItemAni, RestartReturnsToTheDefinedPoseAndStopIgnoresMoves) {
    FigureBench bench("LOC 100 100\nANGLE 45\nSHAPE 0 50 L", "1 1 1 1");
    ItemAni* fig = bench.figure;
    ASSERT_NE(fig, nullptr) << bench.paper.lastMessage();
    bench.move(5.0);
    fig->Draw();
    bench.move(1.0); // still to be applied after the restart
    fig->Input("RESTART", 0.0, nullptr);
    EXPECT_EQ(fig->pose.x, 100.0);
    EXPECT_EQ(fig->pose.angle, 45.0);
    EXPECT_EQ(fig->shapes->pose.length, 50.0);
    fig->Draw();
    EXPECT_EQ(fig->pose.x, 101.0);
    EXPECT_EQ(fig->pose.angle, 46.0);

    FigureBench still("STOP\nLOC 100 100\nSHAPE 0 50 L");
    ASSERT_NE(still.figure, nullptr) << still.paper.lastMessage();
    still.paper.display.needsRepaint = 0;
    still.move(7.0);
    EXPECT_EQ(still.paper.display.needsRepaint, 0) << "not even a repaint";
    still.figure->Draw();
    EXPECT_EQ(still.figure->pose.x, 100.0);
    EXPECT_EQ(still.passed(), std::vector<double>{0.0});
    still.figure->pose.x = 30;
    still.figure->Input("RESTART", 0.0, nullptr);
    EXPECT_EQ(still.figure->pose.x, 100.0);
    EXPECT_EQ(still.paper.display.needsRepaint, 1);
}

TEST(ItemAni, HitchedFigureFollowsAndPullsItsRubberBand) {
    FreshSession fresh;
    PaperDisplay paper;
    auto* arm = paper.add<ItemAni>("Arm", "LOC 100 100\nSHAPE 0 50 L");
    auto* hand = paper.add<ItemAni>(
        "Hand", "HITCH arm\nLINEWIDTH 2\nLINECOLOR 2\nSHAPE 90 20 L\nBANDTO Post\nOUTPUT Probe X");
    auto* post = paper.add<Item>("Post", "LOC 300 250");
    auto* probe = paper.add<Receiver>("Probe", "");
    ASSERT_TRUE(arm && hand && post && probe);
    ASSERT_TRUE(hand->Connect());
    arm->StartupAction();
    hand->StartupAction();
    paper.surface.clear();

    arm->Input("MOVE", 1.0, nullptr);
    Pose right;
    right.x = 10;
    arm->Input("MOVE", 1.0, &right);
    arm->Draw();
    hand->Draw();
    const std::string pen = " pen 2 " + RecordingSurface::colorText(normalColor(2));
    EXPECT_EQ(paper.surface.callsStartingWith("lineTo"),
              (std::vector<std::string>{"lineTo 160,100 pen 0 #000000", "lineTo 160,120" + pen,
                                        "lineTo 300,250" + pen}));

    // A hidden figure still follows and passes values on, but draws nothing.
    paper.surface.clear();
    hand->visibility = Visibility::Hidden;
    arm->Input("MOVE", 2.0, &right);
    arm->Draw();
    hand->Draw();
    EXPECT_EQ(hand->endY, 120.0);
    EXPECT_EQ(hand->endX, 180.0);
    EXPECT_EQ(paper.surface.callsStartingWith("lineTo").size(), 1u);
    EXPECT_EQ(probe->received.size(), 2u);
}

TEST(ItemAni, ConnectResolvesOutputsThenHitchThenRubberBand) {
    FreshSession fresh;
    PaperDisplay paper;
    const std::string lines = "SHAPE 0 10 L\nENDOUTPUT Never X\nOPERATOR Never X\n";
    auto* all = paper.add<ItemAni>("A", lines + "OUTPUT Out1 X\nHITCH Hitch1\nBANDTO Band1");
    auto* twoLeft = paper.add<ItemAni>("B", lines + "HITCH Hitch1\nBANDTO Band1");
    auto* bandOnly = paper.add<ItemAni>("C", lines + "BANDTO Band1");
    auto* fine = paper.add<ItemAni>("D", lines + "BANDTO A");
    ASSERT_TRUE(all && twoLeft && bandOnly && fine);
    EXPECT_EQ(all->Connect().message(), "Connect failed on Out1");
    EXPECT_EQ(twoLeft->Connect().message(), "Connect failed on Hitch1");
    EXPECT_EQ(bandOnly->Connect().message(), "Connect failed on Band1");
    EXPECT_TRUE(fine->Connect()) << "ENDOUTPUT and OPERATOR of a figure are never resolved";
    EXPECT_EQ(fine->rubberBand->target, all);
}

TEST(ItemAni, RegionIsMadeAtTheFirstDrawing) {
    FigureBench triangle("LOC 100 100\nSHAPE 0 50 L\nSHAPE 120 50 L\nSHAPE 240 50 L");
    ItemAni* fig = triangle.figure;
    ASSERT_NE(fig, nullptr) << triangle.paper.lastMessage();
    const Rect first = fig->bounds;
    EXPECT_EQ(fig->HitTest(125, 110), fig->area);
    triangle.move(100.0);
    fig->Draw();
    EXPECT_EQ(fig->bounds, first) << "an enclosing outline keeps its start-up bounds";

    // An outline that encloses nothing has bounds around its start and its end as drawn.
    FigureBench line("LOC 400 300\nSHAPE 0 50 L");
    EXPECT_EQ(line.figure->bounds, (Rect{380, 280, 470, 320}));
    line.move(10.0);
    line.figure->Draw();
    EXPECT_EQ(line.figure->bounds, (Rect{400, 280, 490, 320}));
    line.figure->hitTestable = false;
    EXPECT_EQ(line.figure->HitTest(450, 300), 0);
    EXPECT_EQ(line.figure->HitTestRight(450, 300), line.figure->area);
}

TEST(ItemAni, ButtonPressMovesTheFigureOnScreen) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Figures
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM BUTTON Go
LOC 20 240
SIZE 80 30
@Go
OUTPUT Bar MOVE 0 0 100 0
}
ITEM ANI Bar
LOC 50 100
LINEWIDTH 3
SHAPE 0 40 L
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    const auto shown = [&] { return widgetOf(*bench.display(1)->window)->grab().toImage(); };
    EXPECT_EQ(shown().pixelColor(70, 100), QColor(0, 0, 0));
    EXPECT_EQ(shown().pixelColor(170, 100), QColor(255, 255, 255));
    bench.press(bench.item("Go"));
    EXPECT_EQ(shown().pixelColor(70, 100), QColor(255, 255, 255));
    EXPECT_EQ(shown().pixelColor(170, 100), QColor(0, 0, 0));
}

} // namespace lorvenna

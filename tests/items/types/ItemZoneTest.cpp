// ZONE items: their fills, blinking, hit region, clicks and "show me where" answers.
#include "items/types/ItemZone.h"

#include "items/AnswerFeedback.h"
#include "items/Drawing.h"
#include "items/PageEntry.h"
#include "items/RunObjects.h"
#include "items/types/ItemLabel.h"
#include "platform/Picture.h"
#include "shell/Controller.h"
#include "tests/items/types/ItemBench.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvenna {

namespace {

// A square zone of 40 with its top left corner at (x, y).
std::string squareZone(const char* title, int x, int y, const char* extra) {
    return std::string("ITEM ZONE ") + title + "\nLOC " + std::to_string(x) + " " +
           std::to_string(y) + "\nSHAPE 0 40 L\nSHAPE 90 40 l\nSHAPE 180 40 L\n" + extra + "}\n";
}

std::string lesson(const std::string& items, const std::string& second = "") {
    return "Lesson 01-01 Zones\nPAGE 1\nDISPLAY One\n" +
           std::string(second.empty() ? "" : "DISPLAY Two\n") +
           "END PAGES\nDISPLAY One 0 0 400 300 A\n" + items + "END DISPLAY\n" +
           (second.empty() ? "" : "DISPLAY Two 400 0 300 300 A\n" + second + "END DISPLAY\n") +
           "END LESSON\n";
}

} // namespace

TEST(ItemZone, FillsShowTheColourItsComplementAndTheBlinkCombinedWithThePicture) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(lesson(squareZone("Under", 100, 100, "BACKGROUND 255 0 0\nAPPEAR\n") +
                                  squareZone("Over", 120, 120, "BACKGROUND 0 255 0\n") +
                                  squareZone("Bare", 200, 200, "APPEAR\n"))))
        << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Display* one = bench.display(1);
    EXPECT_EQ(shownColor(one, 110, 110), (Color{255, 0, 0}));
    EXPECT_EQ(shownColor(one, 150, 150), (Color{255, 255, 255})) << "a zone starts hidden";
    EXPECT_EQ(shownColor(one, 210, 210), (Color{255, 255, 255})) << "no BACKGROUND, no fill";

    // Blinking: NOT(picture XOR colour), so green over white stays green and green over red
    // becomes blue.
    bench.item("Over")->Input("FLASH", 0.0, nullptr);
    repaintAllDisplays();
    EXPECT_EQ(shownColor(one, 150, 150), (Color{0, 255, 0}));
    EXPECT_EQ(shownColor(one, 130, 130), (Color{0, 0, 255}));

    bench.item("Under")->visibility = Visibility::Highlighted;
    markAndRepaint(one);
    EXPECT_EQ(shownColor(one, 110, 110), (Color{1, 0, 0}));
}

TEST(ItemZone, FlashBlinksAFilledZoneAndLeavesOneWithoutBackgroundAlone) {
    FreshSession fresh;
    PaperDisplay paper;
    auto* filled = paper.add<ItemZone>("Filled", "BACKGROUND 0 0 255\nAPPEAR");
    auto* bare = paper.add<ItemZone>("Bare", "APPEAR");
    ASSERT_TRUE(filled && bare);
    for (const Visibility expected :
         {Visibility::Inverted, Visibility::Hidden, Visibility::Inverted}) {
        paper.display.needsRepaint = 0;
        filled->Input("FLASH", 0.0, nullptr);
        EXPECT_EQ(filled->visibility, expected);
        EXPECT_EQ(paper.display.needsRepaint, 1);
    }
    paper.display.needsRepaint = 0;
    bare->Input("FLASH", 0.0, nullptr);
    filled->Input("STOP", 0.0, nullptr);
    EXPECT_EQ(bare->visibility, Visibility::Shown);
    EXPECT_EQ(filled->visibility, Visibility::Inverted);
    EXPECT_EQ(paper.display.needsRepaint, 0);
}

TEST(ItemZone, IsHitOnlyInsideItsOutlineOnceDrawn) {
    FreshSession fresh;
    PaperDisplay paper;
    // A right triangle (100,100) (200,100) (100,200).
    auto* zone = paper.add<ItemZone>("Big", "LOC 100 100\nSHAPE 0 100 L\nSHAPE 135 141.43 L");
    ASSERT_NE(zone, nullptr);
    zone->StartupAction();
    EXPECT_EQ(zone->HitTest(120, 105), 0) << "no region before the first drawing";
    zone->Draw();
    EXPECT_GT(zone->HitTest(120, 105), 0);
    EXPECT_EQ(zone->HitTest(120, 105), zone->area);
    EXPECT_EQ(zone->HitTest(190, 190), 0) << "inside the bounds but outside the triangle";
}

TEST(ItemZone, ClickOutsideAQuestionResetsZonesAndLabelsThenSendsZero) {
    LessonBench bench;
    const std::string labels = "ITEM LABEL CapA\nLOC 20 20\n@Heart\nBLINK\n}\n"
                               "ITEM LABEL CapB\nLOC 20 60\n@Lung\nBLINK\n}\n";
    ASSERT_TRUE(bench.load(lesson(squareZone("A", 100, 100, "OUTPUT CapA APPEAR\n") +
                                      squareZone("B", 200, 100, "OUTPUT CapB APPEAR\n") +
                                      squareZone("Lit", 100, 200, "APPEAR\n"),
                                  labels)))
        << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* capA = bench.item("CapA");
    Item* capB = bench.item("CapB");

    bench.clickDisplay(1, 220, 120);
    EXPECT_EQ(capB->visibility, Visibility::Shown);
    EXPECT_EQ(bench.item("Lit")->visibility, Visibility::Hidden)
        << "back to its initial visibility";

    bench.clickDisplay(1, 120, 120);
    EXPECT_EQ(capB->visibility, Visibility::Hidden);
    EXPECT_EQ(capA->visibility, Visibility::Shown);
    EXPECT_EQ(bench.display(2)->needsRepaint, 0) << "the label's display was repainted";
}

TEST(ItemZone, ShowQuestionAnsweredRightThenWrongMarksTheZoneAndTheRightSpot) {
    LessonBench bench;
    const std::string questions = "ITEM TEXT First\nLOC 10 250\n@Where is the heart?\n"
                                  "KEYSHOW Heart\n}\n"
                                  "ITEM TEXT Second\nLOC 10 250\n@And now?\nKEYSHOW Heart\n}\n";
    ASSERT_TRUE(bench.load(
        lesson(squareZone("Heart", 100, 100, "") + questions, squareZone("Lung", 100, 100, ""))))
        << bench.lastMessage();
    QuietWindow quiet;
    Controller controller(quiet);
    controller.handleState(StateCode::ShowPage, 1);
    repaintAllDisplays();
    Display* one = bench.display(1);
    Item* heart = bench.item("Heart");
    ASSERT_EQ(pageOnScreen().answer.currentQuestion(), bench.item("First"));

    // The mark sits at the location plus half the zone's size (its outline box and margins).
    bench.clickDisplay(1, 120, 120);
    const int markX = 100 + heart->width / 2;
    const int markY = 100 + heart->height / 2;
    EXPECT_EQ(heart->width, 60);
    EXPECT_EQ(pageOnScreen().currentEntry->rightCount, 1);
    EXPECT_TRUE(showsPicture(one, Picture::resource(PictureId::RightMark), markX, markY));

    // A zone clicked during the pause leaves the answer and its marks where they are.
    bench.clickDisplay(2, 120, 120);
    EXPECT_EQ(pageOnScreen().answer.chosenItem(), heart);
    EXPECT_EQ(pageOnScreen().answer.feedbackDisplay(), one);
    bench.clock.advance(1000);
    controller.tick();
    ASSERT_EQ(pageOnScreen().answer.currentQuestion(), bench.item("Second"));
    EXPECT_FALSE(showsPicture(one, Picture::resource(PictureId::RightMark), markX, markY));

    bench.clickDisplay(2, 120, 120);
    EXPECT_EQ(pageOnScreen().wrongWaitStart, bench.clock.now());
    EXPECT_TRUE(
        showsPicture(bench.display(2), Picture::resource(PictureId::WrongMark), markX, markY));
    const Rect& b = heart->bounds;
    EXPECT_TRUE(showsPicture(one, Picture::resource(PictureId::SpotMark), (b.left + b.right) / 2,
                             (b.top + b.bottom) / 2));
    EXPECT_EQ(bench.app.panelText, "Wrong location. X shows the correct spot.");
    bench.clock.advance(3000);
    controller.tick();
    EXPECT_EQ(pageOnScreen().currentEntry->completedCount, 2);
    EXPECT_EQ(pageOnScreen().currentEntry->rightCount, 1);
}

TEST(ItemZone, RefusesOtherKeysAndShapeKindsThatAreNotOneLetter) {
    struct Case {
        std::string zone;
        const char* error; // empty: the page starts
    };
    const Case cases[] = {
        {"SHAPE 0 40 c\nKEYSHOW Spot\n", ""},
        {"KEYBUTTON Spot\n", "Answerer Spot fails PreProcessKey"},
        {"SHAPE 0 40 Line\n", "Bad SHAPE SHAPE 0 40 Line in Item Spot... ReadLsn failed"},
        {"BACKGROUND 1 2\n", "Bad MODE BACKGROUND 1 2 in Item Spot... ReadLsn failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        LessonBench bench;
        // The zone asks itself: its keys name the zone.
        ASSERT_TRUE(bench.load(lesson("ITEM ZONE Spot\n" + c.zone + "}\n")));
        EXPECT_EQ(static_cast<bool>(bench.build(1)), c.error[0] == '\0');
        if (c.error[0]) {
            EXPECT_EQ(bench.lastMessage(), c.error);
        }
    }
}

} // namespace lorvenna

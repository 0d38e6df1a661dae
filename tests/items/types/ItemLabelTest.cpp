// LABEL items: frames, anchors, colours, "???" during questions and the FLASH cycles.
#include "items/types/ItemLabel.h"

#include "items/Palette.h"
#include "items/RunObjects.h"
#include "items/types/ItemText.h"
#include "tests/items/types/ItemBench.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lorvenna {

namespace {

std::string colour(Color c) {
    return RecordingSurface::colorText(c);
}

// The four sides of a frame, as the surface records them.
std::vector<std::string> frameCalls(const Rect& r, const std::string& pen) {
    const auto at = [&](int x, int y) {
        return "lineTo " + std::to_string(x) + "," + std::to_string(y) + " pen " + pen;
    };
    return {at(r.right, r.top), at(r.right, r.bottom), at(r.left, r.bottom), at(r.left, r.top)};
}

std::vector<std::string> linesWithPen(const RecordingSurface& surface, const std::string& pen) {
    std::vector<std::string> out;
    for (const std::string& call : surface.callsStartingWith("lineTo")) {
        if (call.ends_with(" pen " + pen))
            out.push_back(call);
    }
    return out;
}

} // namespace

TEST(ItemLabel, FrameIsCentredOnTheLocationWhenTheTextComesBeforeAnyShape) {
    FreshSession fresh;
    PaperDisplay paper;
    auto* label = paper.add<ItemLabel>("Cap", "LOC 100 100\nLINECOLOR 2\n@Cap\nSHAPE 0 50 L");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->anchorShape, nullptr);
    label->StartupAction();
    label->Draw();

    // "Cap" measures 24 x 16; with the margins the frame is 28 x 20 around (100, 100).
    const std::string pen = "4 " + colour(normalColor(2));
    EXPECT_EQ(linesWithPen(paper.surface, pen), frameCalls({86, 90, 114, 110}, pen));
    EXPECT_TRUE(paper.surface.contains("drawText \"Cap\" 86,92,114,112 center|wordbreak"));
    EXPECT_EQ(label->bounds, (Rect{86, 92, 114, 112})) << "the moved frame is the hit box";
    EXPECT_EQ(label->frameColor, 2) << "without FRAMECOLOR the frame takes the line colour";
    EXPECT_EQ(label->endX, 150);
    EXPECT_EQ(label->endY, 100);
}

TEST(ItemLabel, FrameIsCentredOnTheShapeAddedLastBeforeTheText) {
    FreshSession fresh;
    PaperDisplay paper;
    auto* label = paper.add<ItemLabel>(
        "Cap", "LOC 100 100\nSHAPE 0 50 L\n@Ca\nSHAPE 90 40 L\n@p\nSHAPE 0 10 L");
    ASSERT_NE(label, nullptr);
    label->StartupAction();
    label->Draw();
    // The anchor is the end of the second shape, (150, 140); the chain ends at (160, 140).
    const std::string pen = "4 " + colour(normalColor(0));
    EXPECT_EQ(linesWithPen(paper.surface, pen), frameCalls({136, 130, 164, 150}, pen));
    EXPECT_EQ(label->endX, 160);
    EXPECT_EQ(label->endY, 140);
}

TEST(ItemLabel, FramePenIsFourUnitsWideWithSquareEnds) {
    FreshSession fresh;
    PaperDisplay paper;
    auto* label = paper.add<ItemLabel>("Cap", "LOC 100 100\nFRAMECOLOR 12\nLINECOLOR 3\n@Cap");
    ASSERT_NE(label, nullptr);
    label->StartupAction();

    struct PenSpy : RecordingSurface {
        std::vector<Pen> pens;
        const Pen* selectPen(const Pen* pen) override {
            if (pen)
                pens.push_back(*pen);
            return RecordingSurface::selectPen(pen);
        }
    } spy;
    label->surface = &spy;
    label->Draw();
    ASSERT_EQ(spy.pens.size(), 1u);
    EXPECT_EQ(spy.pens[0].width, 4);
    EXPECT_TRUE(spy.pens[0].squareCaps);
    // An index beyond the table takes its last colour.
    EXPECT_EQ(spy.pens[0].color, normalColor(9));
}

TEST(ItemLabel, ShowsQuestionMarksSizedForThemWhileAQuestionIsActive) {
    FreshSession fresh;
    PaperDisplay paper;
    auto* label = paper.add<ItemLabel>("Cap", "LOC 100 100\n@A long caption");
    ASSERT_NE(label, nullptr);
    label->StartupAction();
    Item question;
    question.keyKinds = kKeyButton;
    pageOnScreen().answer.startQuestion(question);
    label->Draw();
    EXPECT_TRUE(paper.surface.contains("drawText \"???\" 86,92,114,112 center|wordbreak"));
    EXPECT_FALSE(
        paper.surface.contains("drawText \"A long caption\" 86,92,114,112 center|wordbreak"));

    pageOnScreen().answer.clearQuestion();
    paper.surface.clear();
    label->Draw();
    // 14 characters: 112 + 4 wide.
    EXPECT_TRUE(
        paper.surface.contains("drawText \"A long caption\" 42,92,158,112 center|wordbreak"));
}

TEST(ItemLabel, BlinkLabelStartsHiddenThenAlternatesItsFrameColours) {
    FreshSession fresh;
    PaperDisplay paper;
    auto* label = paper.add<ItemLabel>("Cap", "LOC 100 100\nFRAMECOLOR 5\n@Cap\nBLINK");
    ASSERT_NE(label, nullptr);
    label->StartupAction();
    EXPECT_EQ(label->mode, kLabelBlink);
    EXPECT_EQ(label->initialVisibility, Visibility::Hidden);

    const auto framePen = [&] {
        paper.surface.clear();
        label->Draw();
        const auto lines = paper.surface.callsStartingWith("lineTo");
        return lines.empty() ? std::string("nothing")
                             : lines.back().substr(lines.back().find("pen"));
    };
    EXPECT_EQ(framePen(), "nothing");
    const std::string normal = "pen 4 " + colour(normalColor(5));
    const std::string highlight = "pen 4 " + colour(highlightColor(5));
    for (const std::string& expected : {normal, highlight, normal, highlight}) {
        paper.display.needsRepaint = 0;
        label->Input("FLASH", 0.0, nullptr);
        EXPECT_EQ(paper.display.needsRepaint, 1);
        EXPECT_EQ(framePen(), expected);
    }
}

TEST(ItemLabel, SeqLabelShowsOneLeaderSegmentAfterAnotherAtEachRepaint) {
    FreshSession fresh;
    PaperDisplay paper;
    auto* label = paper.add<ItemLabel>(
        "Steps", "LOC 200 200\nLINEWIDTH 2\nSHAPE 0 30 L\nSHAPE 90 30 L\nSHAPE 180 30 L\nSEQ");
    ASSERT_NE(label, nullptr);
    label->StartupAction();
    EXPECT_EQ(label->currentSegment, label->shapes);

    label->Input("FLASH", 0.0, nullptr);
    EXPECT_EQ(label->visibility, Visibility::Shown);
    label->Input("FLASH", 0.0, nullptr);
    EXPECT_EQ(label->visibility, Visibility::Shown) << "further flashes leave a SEQ label as it is";

    const std::string pen = " pen 2 " + colour(normalColor(0));
    for (const char* end : {"230,200", "230,230", "200,230", "230,200"}) {
        paper.surface.clear();
        label->Draw();
        EXPECT_EQ(paper.surface.callsStartingWith("lineTo"),
                  std::vector<std::string>{std::string("lineTo ") + end + pen});
    }
}

TEST(ItemLabel, PlainLabelIgnoresFlashButMarksItsDisplay) {
    FreshSession fresh;
    PaperDisplay paper;
    auto* label = paper.add<ItemLabel>("Cap", "LOC 10 10\n@Cap");
    ASSERT_NE(label, nullptr);
    label->Input("FLASH", 0.0, nullptr);
    EXPECT_EQ(label->visibility, Visibility::Shown);
    EXPECT_EQ(paper.display.needsRepaint, 1);
    paper.display.needsRepaint = 0;
    label->Input("MOVE", 3.0, nullptr);
    EXPECT_EQ(paper.display.needsRepaint, 0);
}

TEST(ItemLabel, ClickSendsOneAlongItsOutputs) {
    LessonBench bench;
    ASSERT_TRUE(bench.load(R"(Lesson 01-01 Labels
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM LABEL Cap
LOC 100 100
@Cap
OUTPUT Note HIDE
}
ITEM TEXT Note
LOC 10 250
@Hidden by the label
}
END DISPLAY
END LESSON
)")) << bench.lastMessage();
    ASSERT_TRUE(bench.build(1)) << bench.lastMessage();
    Item* cap = bench.item("Cap");
    bench.clickDisplay(1, (cap->bounds.left + cap->bounds.right) / 2,
                       (cap->bounds.top + cap->bounds.bottom) / 2);
    EXPECT_EQ(bench.item("Note")->visibility, Visibility::Hidden);
}

} // namespace lorvenna

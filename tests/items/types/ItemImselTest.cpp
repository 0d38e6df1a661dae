// IMSEL items: stepping and setting the selection over a series of members.
#include "items/types/ItemImsel.h"

#include "items/RunObjects.h"
#include "items/types/ItemButton.h"
#include "platform/Control.h"
#include "tests/items/types/ItemBench.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvenna {

namespace {

// What the members received, as "title input" words in order.
std::string g_received;

// A member that notes every input it receives.
class Probe : public Item {
public:
    void Input(const char* name, double value, const Pose*) override {
        if (!g_received.empty())
            g_received += ' ';
        g_received += title + ":" + name;
        if (value != 0.0)
            g_received += "=" + std::to_string(value);
    }
};

// Five members P1 to P5, each sent SWAP, with the selection and WRAP as given; started up,
// with what its start-up delivered in g_received.
ItemImsel* series(PaperDisplay& paper, int selection, bool wrap) {
    g_received.clear();
    std::string lines = "MAX 9\nREQUESTSELECT " + std::to_string(selection) + "\n";
    for (int k = 1; k <= 5; ++k) {
        const std::string title = "P" + std::to_string(k);
        paper.add<Probe>(title.c_str(), "");
        lines += "OUTPUT " + title + " SWAP\n";
    }
    if (wrap)
        lines += "WRAP\n";
    auto* selector = paper.add<ItemImsel>("Sel", lines);
    if (!selector || !selector->Connect() || !selector->StartupAction())
        return nullptr;
    return selector;
}

} // namespace

TEST(ItemImsel, DeltaAndOtherInputsToggleTheOldMemberAndTheNew) {
    struct Case {
        int selection;
        bool wrap;
        const char* input;
        double value;
        int selected;
        const char* received;
    };
    const Case cases[] = {
        {5, false, "DELTA", 1, 5, "P5:SWAP P5:SWAP"}, // stops at the end
        {5, true, "DELTA", 1, 1, "P5:SWAP P1:SWAP"},
        {1, true, "DELTA", -2, 5, "P1:SWAP P5:SWAP"},
        {4, false, "DELTA", -2, 2, "P4:SWAP P2:SWAP"},
        {2, false, "DELTA", 0.4, 3, "P2:SWAP P3:SWAP"}, // less than one step is one step
        {2, false, "DELTA", 1e300, 5, "P2:SWAP P5:SWAP"},
        {2, false, "STOP", 7, 2, "P2:SWAP P2:SWAP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.selection) + (c.wrap ? " WRAP " : " ") + c.input + " " +
                     std::to_string(c.value));
        FreshSession fresh;
        PaperDisplay paper;
        ItemImsel* selector = series(paper, c.selection, c.wrap);
        ASSERT_NE(selector, nullptr);
        g_received.clear();
        selector->Input(c.input, c.value, nullptr);
        EXPECT_EQ(selector->selection, c.selected);
        EXPECT_EQ(g_received, c.received);
    }
}

TEST(ItemImsel, RequestSelectShowsOneTargetAndHidesTheOthersThroughTheirInputs) {
    FreshSession fresh;
    PaperDisplay paper;
    ItemImsel* selector = series(paper, 2, false);
    ASSERT_NE(selector, nullptr);
    g_received.clear();
    selector->Input("REQUESTSELECT", 3.7, nullptr);
    EXPECT_EQ(selector->selection, 3);
    EXPECT_EQ(g_received, "P2:SWAP P1:HIDE P2:HIDE P3:APPEAR P4:HIDE P5:HIDE");

    // Beyond the series every member hides, and the selection is left as asked...
    g_received.clear();
    selector->Input("REQUESTSELECT", 9, nullptr);
    EXPECT_EQ(selector->selection, 9);
    EXPECT_EQ(g_received, "P3:SWAP P1:HIDE P2:HIDE P3:HIDE P4:HIDE P5:HIDE");
    // ...until the next step brings it back to the last member (MAX 9 gave way to the count).
    g_received.clear();
    selector->Input("DELTA", 1, nullptr);
    EXPECT_EQ(selector->selection, 5);
    EXPECT_EQ(g_received, "P5:SWAP");
}

TEST(ItemImsel, ButtonWithAFactorOfMinusOneStepsBack) {
    FreshSession fresh;
    PaperDisplay paper;
    ItemImsel* selector = series(paper, 3, false);
    auto* back = paper.add<ItemButton>("Back", "@Previous\nOUTPUT Sel DELTA -1");
    ASSERT_TRUE(selector && back && back->Connect());
    g_received.clear();
    back->Command(notificationWord(kNotifyClicked, back->controlId));
    EXPECT_EQ(selector->selection, 2);
    EXPECT_EQ(g_received, "P3:SWAP P2:SWAP");
}

TEST(ItemImsel, PageFailsWithoutASelectionOrAMember) {
    struct Case {
        const char* lines;
        const char* error; // empty: the page starts
    };
    const Case cases[] = {
        {"REQUESTSELECT 2\nWRAP\nOUTPUT A FLASH\nOUTPUT B FLASH\n", ""},
        {"REQUESTSELECT 0\nOUTPUT A FLASH\n", "StartupAction failed in Item Sel"},
        {"OUTPUT A FLASH\n", "StartupAction failed in Item Sel"},
        {"REQUESTSELECT 1\n", "StartupAction failed in Item Sel"},
        {"REQUESTSELECT\n", "Bad MODE REQUESTSELECT in Item Sel... ReadLsn failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        LessonBench bench;
        const std::string lesson = std::string("Lesson 01-01 Series\nPAGE 1\nDISPLAY One\n"
                                               "END PAGES\nDISPLAY One 0 0 400 300 A\n"
                                               "ITEM LABEL A\n@First\nBLINK\n}\n"
                                               "ITEM LABEL B\n@Second\nBLINK\n}\n"
                                               "ITEM IMSEL Sel\n") +
                                   c.lines + "}\nEND DISPLAY\nEND LESSON\n";
        ASSERT_TRUE(bench.load(lesson));
        EXPECT_EQ(static_cast<bool>(bench.build(1)), c.error[0] == '\0');
        if (c.error[0]) {
            EXPECT_EQ(bench.lastMessage(), c.error);
            continue;
        }
        // The second member's label was flashed on at the start.
        EXPECT_EQ(bench.item("B")->visibility, Visibility::Shown);
        EXPECT_EQ(bench.item("A")->visibility, Visibility::Hidden);
    }
}

} // namespace lorvenna

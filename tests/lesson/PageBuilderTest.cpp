// Building pages from a real lesson file: shared displays, counters, the start-up pass and
// every failure of a page build.
#include "lesson/PageBuilder.h"

#include "items/Display.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "platform/ChildWindow.h"
#include "platform/FixedText.h"
#include "platform/QtChildWindow.h"
#include "shell/Session.h"
#include "tests/shell/ProbeItem.h"
#include "tests/support/FakeApp.h"
#include "tests/support/Succeeded.h"
#include "tests/support/WorkFolder.h"

#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

constexpr const char* kLesson = R"(Lesson 01-01 Pages of a test
TOTAL 2
PAGE 1
DISPLAY Alpha
DISPLAY Beta
PAGE 2
DISPLAY beta
DISPLAY Gamma
PAGE 3
PAGE 4
DISPLAY Lower
END PAGES
DISPLAY Alpha 10 40 300 200 A
ITEM TIMER Clock
LOC 10 10
}
END DISPLAY
DISPLAY BETA 320 40 300 200 A
ITEM ZONE Spot
LOC 20 20
}
ITEM TIMER Keeper
LOC 30 30
}
END DISPLAY
DISPLAY Gamma 10 260 300 200 N
ITEM TIMER Other
LOC 5 5
}
END DISPLAY
DISPLAY Lower 10 40 300 200 a
END DISPLAY
END LESSON
)";

class PageBuilderTest : public testing::Test {
protected:
    PageBuilderTest() {
        resetSession();
        probeLog().clear();
        app = std::make_unique<FakeApp>();
    }
    ~PageBuilderTest() override { lessonTeardown(); }

    // Writes the lesson and reads its index, as states 9 and 11 do.
    void open(const std::string& text) {
        folder.write("LSNS/01-01.LSN", text);
        setText(lesson().lessonPath, "LSNS\\01-01.LSN");
        setText(lesson().lessonTitle, "");
        ASSERT_TRUE(succeeded(readLessonIndex()));
    }

    Display* shown(int slot) { return pageOnScreen().displays[slot]; }

    Item* itemOf(Display* display, const std::string& title) {
        for (Item* item = display->items; item; item = item->next) {
            if (item->title == title)
                return item;
        }
        return nullptr;
    }

    ProbeItem& probeIn(Display* display, const std::string& title) {
        auto* probe = new ProbeItem(title);
        probe->display = display;
        display->appendItem(probe);
        return *probe;
    }

    PageEntry* entryFor(int page) {
        for (PageEntry* entry = lesson().pages; entry; entry = entry->next) {
            if (entry->pageNumber == page)
                return entry;
        }
        return nullptr;
    }

    // Builds page 1 of a lesson that holds one display Main with the given items.
    Status buildOne(const std::string& items, const char* header = "DISPLAY Main 10 40 300 200 A") {
        open(std::string("Lesson 01-01 Broken\nPAGE 1\nDISPLAY Main\nEND PAGES\n") + header + "\n" +
             items + "END DISPLAY\nEND LESSON\n");
        return buildPage(1);
    }

    WorkFolder folder;
    std::unique_ptr<FakeApp> app;
};

TEST_F(PageBuilderTest, FirstPageReadsItsDisplaysInOrder) {
    open(kLesson);
    ASSERT_TRUE(succeeded(buildPage(1)));
    ASSERT_NE(shown(1), nullptr);
    ASSERT_NE(shown(2), nullptr);
    EXPECT_EQ(shown(3), nullptr);
    EXPECT_EQ(shown(1)->name, "Alpha");
    EXPECT_EQ(shown(2)->name, "Beta"); // as the page section writes it
    EXPECT_NE(itemOf(shown(1), "Clock"), nullptr);
    EXPECT_EQ(lesson().currentPage(), 1);
    EXPECT_EQ(pageOnScreen().currentEntry, entryFor(1));
    EXPECT_EQ(pageOnScreen().currentEntry->isCurrent, 1);
    EXPECT_EQ(app->caption, "Lesson 01-01 Pages of a test [ Page 1 ]");
    EXPECT_EQ(app->statusTexts, std::vector<std::string>{"Processing p. 1"});
    EXPECT_EQ(app->pageStripCount, 1);
    EXPECT_GE(app->focusCount, 1);
    EXPECT_FALSE(pageOnScreen().pageBuilding);
    EXPECT_FALSE(pageOnScreen().pageClosing);
    EXPECT_FALSE(pageOnScreen().questionAsked); // no question on the page
    // Windows at the converted places; the ids go on from the items'.
    EXPECT_EQ(app->windowRects, (std::vector<Rect>{{10, 40, 310, 240}, {320, 40, 620, 240}}));
    EXPECT_EQ(shown(1)->window->userData(), shown(1));
    EXPECT_EQ(shown(1)->window->id(), 808);
    EXPECT_EQ(itemOf(shown(1), "Clock")->controlId, 809);
}

TEST_F(PageBuilderTest, SharedDisplayKeepsItsItemsOthersAreDeletedOrRead) {
    open(kLesson);
    ASSERT_TRUE(buildPage(1));
    Display* beta = shown(2);
    Item* spot = itemOf(beta, "Spot");
    Item* keeper = itemOf(beta, "Keeper");
    spot->visibility = Visibility::Shown; // it starts hidden
    keeper->visibility = Visibility::Highlighted;
    probeIn(beta, "BetaProbe");
    probeIn(shown(1), "AlphaProbe");
    QPointer<QWidget> alphaWindow = widgetOf(*shown(1)->window);

    ASSERT_TRUE(succeeded(buildPage(2)));
    EXPECT_EQ(shown(1), beta);
    EXPECT_EQ(beta->reused, 1);
    EXPECT_EQ(itemOf(beta, "Keeper"), keeper);
    EXPECT_EQ(keeper->visibility, Visibility::Highlighted);
    // Zones and labels of the kept display start over when the new display starts.
    EXPECT_EQ(spot->visibility, Visibility::Hidden);
    ASSERT_NE(shown(2), nullptr);
    EXPECT_EQ(shown(2)->name, "Gamma");
    EXPECT_EQ(shown(2)->reused, 0);
    EXPECT_NE(itemOf(shown(2), "Other"), nullptr);
    EXPECT_EQ(alphaWindow, nullptr);
    EXPECT_EQ(app->windowRects.size(), 3u);
    // Every item of the page left hears STOP; the kept ones are connected again but not
    // started again, and their display is redrawn because its zone changed.
    EXPECT_EQ(probeLog(),
              (std::vector<std::string>{"AlphaProbe:STOP", "BetaProbe:STOP", "AlphaProbe:deleted",
                                        "BetaProbe:connect", "BetaProbe:draw"}));
    EXPECT_EQ(app->caption, "Lesson 01-01 Pages of a test [ Page 2 ]");
    EXPECT_EQ(entryFor(1)->isCurrent, 0);
    EXPECT_EQ(entryFor(2)->isCurrent, 1);
}

TEST_F(PageBuilderTest, GoingBackReadsThePageAnew) {
    open(kLesson);
    ASSERT_TRUE(buildPage(1));
    itemOf(shown(1), "Clock")->visibility = Visibility::Highlighted;
    ASSERT_TRUE(buildPage(3));
    ASSERT_TRUE(buildPage(1));
    ASSERT_NE(itemOf(shown(1), "Clock"), nullptr);
    EXPECT_EQ(itemOf(shown(1), "Clock")->visibility, Visibility::Hidden);
    EXPECT_EQ(shown(1)->reused, 0);
}

TEST_F(PageBuilderTest, KeptCaptionsAreRedrawnWhenTheNewPageAsksOrStopsAsking) {
    // A caption kept from the page before must not go on showing its name while the new
    // page asks (it would give the answer away), nor "???" once the new page asks nothing.
    open("Lesson 01-01 Captions\nPAGE 1\nDISPLAY Figure\nPAGE 2\nDISPLAY Figure\n"
         "DISPLAY Ask\nPAGE 3\nDISPLAY Figure\nEND PAGES\n"
         "DISPLAY Figure 10 40 300 200 A\nITEM LABEL Rim\nLOC 50 50\n@Rim\n}\nEND DISPLAY\n"
         "DISPLAY Ask 320 40 300 200 A\nITEM TEXT Which\nLOC 10 10\nKEYBUTTON Yes\n"
         "@Which?\n}\nITEM BUTTON Yes\nLOC 10 60\nSIZE 80 30\n@Rim\n}\nEND DISPLAY\n"
         "END LESSON\n");
    ASSERT_TRUE(succeeded(buildPage(1)));
    // Draws after the caption and notes whether a question was being asked then.
    struct Watch : ProbeItem {
        Watch() : ProbeItem("Watch") {}
        void Draw() override { askedAtDraw.push_back(pageOnScreen().answer.questionActive()); }
        std::vector<bool> askedAtDraw;
    };
    auto* watch = new Watch;
    shown(1)->appendItem(watch);
    for (int page : {2, 3}) {
        shown(1)->needsRepaint = 0; // the screen shows the page before
        watch->askedAtDraw.clear();
        ASSERT_TRUE(succeeded(buildPage(page)));
        const bool asking = page == 2;
        EXPECT_EQ(pageOnScreen().answer.questionActive(), asking);
        ASSERT_FALSE(watch->askedAtDraw.empty()) << "page " << page;
        EXPECT_EQ(watch->askedAtDraw.back(), asking) << "page " << page;
    }
}

TEST_F(PageBuilderTest, EnteringAPageResetsItsCounters) {
    open(kLesson);
    PageEntry* first = entryFor(1);
    first->completedCount = 3;
    first->rightCount = 2;
    entryFor(2)->rightCount = 4;
    ASSERT_TRUE(buildPage(1));
    EXPECT_EQ(first->completedCount, 0);
    EXPECT_EQ(first->rightCount, 0);
    EXPECT_EQ(entryFor(2)->rightCount, 4);
}

TEST_F(PageBuilderTest, PageWithoutDisplaysShowsNone) {
    open(kLesson);
    ASSERT_TRUE(buildPage(2));
    QPointer<QWidget> first = widgetOf(*shown(1)->window);
    QPointer<QWidget> second = widgetOf(*shown(2)->window);
    ASSERT_TRUE(buildPage(3));
    EXPECT_EQ(shownDisplays().begin(), shownDisplays().end());
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(lesson().currentPage(), 3);
}

TEST_F(PageBuilderTest, OnlyAnUpperCaseFlagBuffers) {
    open(kLesson);
    ASSERT_TRUE(buildPage(1));
    EXPECT_EQ(shown(1)->buffered, 1);
    ASSERT_TRUE(buildPage(2));
    EXPECT_EQ(shown(2)->buffered, 0); // N
    ASSERT_TRUE(buildPage(4));
    EXPECT_EQ(shown(1)->buffered, 0); // a
}

TEST_F(PageBuilderTest, EachFailureSaysWhy) {
    struct Case {
        const char* name;
        std::string items;
        std::string message;
        long line; // in the lesson file; 0 where the page builder cannot tell
    };
    // The items start on line 6.
    const std::vector<Case> cases = {
        {"unknown type", "ITEM WIDGET W\n}\n", "Item Type not proper", 6},
        {"bad line", "ITEM TIMER T\n@Text\nBOGUS\n}\n",
         "Bad MODE BOGUS in Item T... ReadLsn failed", 8},
        {"connection", "ITEM TIMER T\nOUTPUT Nobody HIDE\n}\n", "Connect failed on Nobody", 0},
        {"operator", "ITEM TIMER T\nOPERATOR Nobody X\n}\n", "Connect failed on Nobody", 0},
        {"key", "ITEM TIMER T\nKEYBUTTON Nobody\n}\n", "No proper answer found for question T", 0},
    };
    for (const Case& c : cases) {
        const Status built = buildOne(c.items);
        ASSERT_FALSE(built) << c.name;
        EXPECT_EQ(built.message(), c.message) << c.name;
        EXPECT_EQ(built.diagnostic().line, c.line) << c.name;
        EXPECT_EQ(built.diagnostic().file, "LSNS\\01-01.LSN") << c.name;
        EXPECT_FALSE(pageOnScreen().pageBuilding) << c.name;
        lessonTeardown();
    }
}

TEST_F(PageBuilderTest, ADisplayThatFailsLeavesNoWindowBehind) {
    EXPECT_FALSE(buildOne("ITEM TIMER T\n}\nITEM WIDGET W\n}\n"));
    EXPECT_EQ(app->windowRects.size(), 1u);
    EXPECT_EQ(shown(1), nullptr);
    EXPECT_EQ(entryFor(1)->displayObject[1], nullptr);
}

TEST_F(PageBuilderTest, APageThatFailsStillHoldsTheDisplaysItKept) {
    // Keep stands after the display that fails: the teardown that ends the lesson must still
    // find it, or its window stays on the screen with nobody holding it.
    open("Lesson 01-01 Kept\nPAGE 1\nDISPLAY Keep\nPAGE 2\nDISPLAY Broken\nDISPLAY Keep\n"
         "END PAGES\nDISPLAY Keep 10 40 300 200 A\nITEM TIMER T\n}\nEND DISPLAY\n"
         "DISPLAY Broken 10 300 300 200 A\nITEM WIDGET W\n}\nEND DISPLAY\nEND LESSON\n");
    ASSERT_TRUE(succeeded(buildPage(1)));
    QPointer<QWidget> kept = widgetOf(*shown(1)->window);
    EXPECT_EQ(buildPage(2).message(), "Item Type not proper");
    EXPECT_NE(kept, nullptr);
    lessonTeardown();
    EXPECT_EQ(kept, nullptr);
}

TEST_F(PageBuilderTest, HeaderWithoutAllItsFieldsGivesNoWindow) {
    // The index finds the block by its name and first number; a page build needs all six.
    EXPECT_EQ(buildOne("ITEM TIMER T\n}\n", "DISPLAY Main 10 40 300 200").message(),
              "No proper DISPLAY line for Main");
    EXPECT_TRUE(app->windowRects.empty());
}

TEST_F(PageBuilderTest, WindowThatCannotBeMadeFails) {
    app->failWindows = true;
    EXPECT_EQ(buildOne("ITEM TIMER T\n}\n").message(), "Internal failure in Display");
}

TEST_F(PageBuilderTest, LessonFileGoneAndPageNotInTheIndex) {
    open(kLesson);
    EXPECT_EQ(buildPage(7).message(), "Page number wrong in Lesson");
    EXPECT_FALSE(pageOnScreen().pageBuilding);
    EXPECT_FALSE(buildPage(0));

    std::remove((folder.path() + "/LSNS/01-01.LSN").c_str());
    EXPECT_EQ(buildPage(1).message(), "Can't open Lesson file LSNS\\01-01.LSN");
}

TEST_F(PageBuilderTest, LongNamesStayWithinTheirFields) {
    const std::string longTitle(100, 'T');
    const std::string longType(100, 'K');
    const std::string name(59, 'N');
    const std::string title(240, 'x');
    open("Lesson 01-01 " + title + "\nPAGE 1\nDISPLAY " + name + "\nEND PAGES\nDISPLAY " + name +
         " 10 40 300 200 A\nITEM TIMER " + longTitle + "\nOUTPUT " + longTitle +
         " APPEAR\n}\nEND DISPLAY\nEND LESSON\n");
    ASSERT_TRUE(succeeded(buildPage(1)));
    EXPECT_NE(itemOf(shown(1), longTitle), nullptr);
    EXPECT_EQ(app->caption.substr(app->caption.size() - 11), " [ Page 1 ]");
    lessonTeardown();

    EXPECT_EQ(buildOne("ITEM " + longType + " X\n}\n").message(), "Item Type not proper");
    lessonTeardown();

    EXPECT_EQ(buildOne("ITEM TIMER T\nOUTPUT " + longTitle + " HIDE\n}\n").message(),
              "Connect failed on " + longTitle);
}

TEST_F(PageBuilderTest, BlockWithoutItsEndRunsOnIntoTheNext) {
    open("Lesson 01-01 Run on\nPAGE 1\nDISPLAY One\nEND PAGES\n"
         "DISPLAY One 10 40 300 200 A\nITEM TIMER First\n}\n"
         "DISPLAY Two 10 300 300 200 A\nITEM TIMER Second\n}\nEND DISPLAY\nEND LESSON\n");
    ASSERT_TRUE(succeeded(buildPage(1)));
    // One window, and the items of both blocks in its list.
    EXPECT_EQ(app->windowRects.size(), 1u);
    EXPECT_NE(itemOf(shown(1), "First"), nullptr);
    EXPECT_NE(itemOf(shown(1), "Second"), nullptr);
    EXPECT_EQ(itemOf(shown(1), "Second")->surface, shown(1)->surface);
}

TEST_F(PageBuilderTest, DisplayNamedTwiceLeavesNoWindowBehindWhenKeptOnce) {
    open("Lesson 01-01 Twice\nPAGE 1\nDISPLAY Main\nDISPLAY main\nPAGE 2\nDISPLAY MAIN\nEND PAGES\n"
         "DISPLAY Main 10 40 300 200 A\nITEM TIMER T\n}\nEND DISPLAY\nEND LESSON\n");
    ASSERT_TRUE(buildPage(1));
    ASSERT_NE(shown(2), nullptr);
    QPointer<QWidget> first = widgetOf(*shown(1)->window);
    Display* second = shown(2);
    ASSERT_TRUE(buildPage(2));
    // The later of the two is kept; the earlier one is gone, window and all.
    EXPECT_EQ(shown(1), second);
    EXPECT_EQ(shown(2), nullptr);
    EXPECT_EQ(first, nullptr);
}

TEST_F(PageBuilderTest, WildGeometryIsBroughtWithinReach) {
    EXPECT_TRUE(buildOne("", "DISPLAY Main -99999999999 40 99999999999 -5 A"));
    ASSERT_EQ(app->windowRects.size(), 1u);
    EXPECT_EQ(app->windowRects[0], (Rect{-4096, 40, -2048, 40}));
    // Nine displays of the largest size still fit in memory: 2048 pixels either way.
    lessonTeardown();
    EXPECT_TRUE(buildOne("", "DISPLAY Main 10 40 99999 99999 A"));
    ASSERT_EQ(app->windowRects.size(), 2u);
    EXPECT_EQ(app->windowRects[1], (Rect{10, 40, 2058, 2088}));
}

TEST_F(PageBuilderTest, TeardownEndsTheLesson) {
    open(kLesson);
    ASSERT_TRUE(buildPage(2));
    lesson().testLesson = true;
    QPointer<QWidget> window = widgetOf(*shown(1)->window);
    pageOnScreen().answer.choose(nullptr, shown(1));
    lessonTeardown();
    EXPECT_TRUE(pageOnScreen().pageClosing);
    EXPECT_EQ(lesson().pages, nullptr);
    EXPECT_EQ(pageOnScreen().currentEntry, nullptr);
    EXPECT_FALSE(lesson().testLesson);
    EXPECT_EQ(pageOnScreen().answer.feedbackDisplay(), nullptr);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(shownDisplays().begin(), shownDisplays().end());
}

TEST_F(PageBuilderTest, LongLessonReachesItsFirstAndLastPage) {
    // Every page shows a display of its own; the page section alone is 40 000 lines.
    constexpr int kPages = 20000;
    std::string text = "Lesson 01-01 Long\nTOTAL 1\n";
    text.reserve(1200000);
    for (int page = 1; page <= kPages; ++page)
        text += "PAGE " + std::to_string(page) + "\nDISPLAY D" + std::to_string(page % 10) + "\n";
    text += "END PAGES\n";
    for (int d = 0; d < 10; ++d)
        text += "DISPLAY D" + std::to_string(d) + " 10 40 300 200 A\nITEM TIMER T" +
                std::to_string(d) + "\n}\nEND DISPLAY\n";
    text += "END LESSON\n";
    open(text);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(buildPage(1));
    ASSERT_TRUE(buildPage(kPages));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(shown(1)->name, "D0");
    EXPECT_LT(took, std::chrono::seconds(5));
}

} // namespace

} // namespace lorvenna

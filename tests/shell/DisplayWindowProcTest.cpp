// The display window procedure, through real offscreen display windows and real events.
#include "shell/DisplayWindowProc.h"

#include "items/Display.h"
#include "items/Drawing.h"
#include "items/KeyEntry.h"
#include "items/PageEntry.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/Clock.h"
#include "platform/QtChildWindow.h"
#include "shell/Session.h"
#include "tests/shell/ProbeItem.h"
#include "tests/support/FakeApp.h"
#include "tests/support/TestClock.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

class DisplayWindowProcTest : public testing::Test {
protected:
    DisplayWindowProcTest() {
        resetSession();
        probeLog().clear();
        app = std::make_unique<FakeApp>();
        display = new Display();
        display->window = app->createDisplayWindow(display, 900, {10, 50, 410, 350});
        display->window->setUserData(display);
        display->clientRect = display->window->clientRect();
        createDrawingSurfaces(display);
        repaintDisplay(display);
        pageOnScreen().displays[1] = display;
        pageOnScreen().currentEntry = &entry;
    }
    ~DisplayWindowProcTest() override {
        pageOnScreen().displays[1] = nullptr;
        delete display;
    }

    ProbeItem& add(const std::string& title, Rect box = {}) {
        auto* item = new ProbeItem(title, box);
        item->display = display;
        item->surface = display->surface;
        display->appendItem(item);
        return *item;
    }

    void click(int x, int y) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, y), QPointF(x, y), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widgetOf(*display->window), &press);
    }

    void move(int x, int y) {
        QMouseEvent motion(QEvent::MouseMove, QPointF(x, y), QPointF(x, y), Qt::NoButton,
                           Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widgetOf(*display->window), &motion);
    }

    // A KEYBUTTON question answered by the item answer.
    ProbeItem& ask(const std::string& title, Item& answer, ItemType type = ItemType::Button) {
        ProbeItem& question = add(title);
        question.type = type;
        question.keyKinds = kKeyButton;
        question.keyCount = 1;
        question.keys[0].kind = kKeyButton;
        question.keys[0].answerer = &answer;
        std::strncpy(question.keys[0].answererTitle, answer.title.c_str(), kAnswererTitleSize - 1);
        question.keyKinds = kKeyButton;
        pageOnScreen().answer.startQuestion(question);
        return question;
    }

    ChildWindow& window() { return *display->window; }

    TestClock clock;
    std::unique_ptr<FakeApp> app;
    Display* display = nullptr;
    PageEntry entry;
};

TEST_F(DisplayWindowProcTest, ClickGoesToTheSmallestItemAndTiesToTheEarlier) {
    add("Big", {0, 0, 300, 200});
    add("First", {10, 10, 40, 40});
    add("Second", {10, 10, 40, 40});
    add("Huge", {0, 0, 1000, 1000}); // an area of a million is never hit

    click(20, 20);
    click(100, 100);
    click(350, 250);
    EXPECT_EQ(probeLog(),
              (std::vector<std::string>{"First:click 513 20,20", "Big:click 513 100,100"}));
    EXPECT_EQ(lastMousePosition(), (Point{350, 250}));
}

TEST_F(DisplayWindowProcTest, NothingReachesTheItemsWhileAPageIsBuilt) {
    ProbeItem& item = add("Item", {0, 0, 100, 100});
    item.controlId = 1200;
    item.running = true;
    pageOnScreen().pageBuilding = true;
    ChildWindowProc* proc = displayWindowProc();

    click(10, 10);
    proc->controlNotification(window(), notificationWord(kNotifyClicked, 1200));
    proc->timer(window(), &item);
    proc->scrollRequest(window(), ScrollRequest::LineDown, nullptr);
    markAndRepaint(display); // the items draw when asked to, not when the window paints
    probeLog().clear();
    display->needsRepaint = 1;
    widgetOf(window())->grab();
    EXPECT_TRUE(probeLog().empty());
    EXPECT_EQ(app->focusCount, 0);

    pageOnScreen().pageBuilding = false;
    click(10, 10);
    EXPECT_EQ(probeLog(), std::vector<std::string>{"Item:click 513 10,10"});
}

TEST_F(DisplayWindowProcTest, PaintDrawsTheItemsOnlyWhenTheDisplayIsMarked) {
    add("Item");
    probeLog().clear();
    widgetOf(window())->grab();
    EXPECT_TRUE(probeLog().empty());
    display->needsRepaint = 1;
    widgetOf(window())->grab();
    EXPECT_EQ(probeLog(), std::vector<std::string>{"Item:draw"});
    EXPECT_EQ(display->needsRepaint, 0);
}

TEST_F(DisplayWindowProcTest, TicksGoToTheRunningItemUnlessAPauseRunsOrThePageCloses) {
    ProbeItem& ticking = add("Ticking");
    ProbeItem& idle = add("Idle");
    ProbeItem stranger("Stranger"); // not an item of this display
    ticking.running = true;
    stranger.running = true;
    ChildWindowProc* proc = displayWindowProc();

    proc->timer(window(), &ticking);
    proc->timer(window(), &idle);
    proc->timer(window(), &stranger);
    EXPECT_EQ(probeLog(), std::vector<std::string>{"Ticking:TICK"});

    probeLog().clear();
    pageOnScreen().rightWaitStart = clock.now();
    proc->timer(window(), &ticking);
    pageOnScreen().rightWaitStart = 0;
    pageOnScreen().wrongWaitStart = clock.now();
    proc->timer(window(), &ticking);
    pageOnScreen().wrongWaitStart = 0;
    pageOnScreen().pageClosing = true;
    proc->timer(window(), &ticking);
    EXPECT_TRUE(probeLog().empty());

    // A real timer of the window delivers the same way.
    pageOnScreen().pageClosing = false;
    window().startTimer(&ticking, 300);
    QTimer* timer = timerOf(window(), &ticking);
    ASSERT_NE(timer, nullptr);
    timer->setInterval(0);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    window().stopTimer(&ticking);
    ASSERT_FALSE(probeLog().empty());
    EXPECT_EQ(probeLog().front(), "Ticking:TICK");
}

TEST_F(DisplayWindowProcTest, CommandsGoToTheFirstItemWithTheControlsId) {
    ProbeItem& first = add("First");
    ProbeItem& second = add("Second");
    ProbeItem& other = add("Other");
    first.controlId = 1300;
    second.controlId = 1300;
    other.controlId = 1301;
    auto button = window().createButton(1300, {10, 10, 60, 30}, "Go");
    ASSERT_NE(button, nullptr);
    auto* pushButton = widgetOf(window())->findChild<QPushButton*>();
    ASSERT_NE(pushButton, nullptr);

    pushButton->click();
    EXPECT_EQ(probeLog(), std::vector<std::string>{"First:command 0"});
    EXPECT_EQ(app->focusCount, 1); // a click gives the keyboard back to the main window

    probeLog().clear();
    ChildWindowProc* proc = displayWindowProc();
    proc->controlNotification(window(), notificationWord(kNotifySetFocus, 1301));
    proc->controlNotification(window(), notificationWord(kNotifyChanged, 1301));
    proc->controlNotification(window(), notificationWord(0x200, 1301)); // other codes are ignored
    EXPECT_EQ(probeLog(), (std::vector<std::string>{"Other:command 256", "Other:command 1024"}));
    EXPECT_EQ(app->focusCount, 1);

    // During a pause the same click does nothing; after it, it works again.
    probeLog().clear();
    pageOnScreen().wrongWaitStart = clock.now();
    pushButton->click();
    EXPECT_TRUE(probeLog().empty());
    pageOnScreen().wrongWaitStart = 0;
    pushButton->click();
    EXPECT_EQ(probeLog(), std::vector<std::string>{"First:command 0"});
}

TEST_F(DisplayWindowProcTest, ControlIdsPast32767MatchByTheir16Bits) {
    ProbeItem& item = add("Late");
    item.controlId = -32000; // the 16-bit counter has gone past 32767
    displayWindowProc()->controlNotification(window(), notificationWord(kNotifyClicked, -32000));
    EXPECT_EQ(probeLog(), std::vector<std::string>{"Late:command 0"});
}

TEST_F(DisplayWindowProcTest, ACommandThatAnswersIsJudged) {
    ProbeItem& yes = add("Yes");
    yes.controlId = 1400;
    ask("Question", yes);
    yes.commandResult = false;
    displayWindowProc()->controlNotification(window(), notificationWord(kNotifyClicked, 1400));
    EXPECT_EQ(pageOnScreen().rightWaitStart, 0u);
    EXPECT_EQ(pageOnScreen().wrongWaitStart, 0u);

    yes.commandResult = true;
    pageOnScreen().answer.choose(&yes,
                                 display); // what an answering item records before it returns true
    displayWindowProc()->controlNotification(window(), notificationWord(kNotifyClicked, 1400));
    EXPECT_EQ(pageOnScreen().rightWaitStart, clock.now());
    EXPECT_EQ(entry.rightCount, 1);
}

TEST_F(DisplayWindowProcTest, AClickWhileAQuestionIsAskedIsTheAnswer) {
    ProbeItem& yes = add("Yes", {10, 10, 60, 40});
    add("No", {100, 10, 150, 40});
    ask("Question", yes);

    click(20, 20);
    EXPECT_EQ(pageOnScreen().answer.chosenItem(), &yes);
    EXPECT_EQ(pageOnScreen().answer.feedbackDisplay(), display);
    EXPECT_EQ(pageOnScreen().rightWaitStart, clock.now());
    EXPECT_EQ(entry.rightCount, 1);
    // The answer is marked where it was clicked.
    EXPECT_EQ(pageOnScreen().answer.markX(), 12);
    EXPECT_EQ(pageOnScreen().answer.markY(), 12);

    // A second click within the pause still reaches the item but counts nothing.
    probeLog().clear();
    pageOnScreen().answer.choose(nullptr, display);
    click(110, 20);
    EXPECT_EQ(probeLog(), std::vector<std::string>{"No:click 513 110,20"});
    EXPECT_EQ(pageOnScreen().answer.chosenItem(), nullptr);
    EXPECT_EQ(entry.rightCount, 1);
    EXPECT_EQ(pageOnScreen().answer.markX(), 12);
}

TEST_F(DisplayWindowProcTest, AClickOnEmptySpaceAnswersUnlessTheQuestionIsAText) {
    ProbeItem& yes = add("Yes", {10, 10, 60, 40});
    ProbeItem& question = ask("Question", yes, ItemType::Text);
    click(300, 200);
    EXPECT_EQ(pageOnScreen().wrongWaitStart, 0u);
    EXPECT_EQ(pageOnScreen().answer.feedbackDisplay(), nullptr);

    question.type = ItemType::Button;
    click(300, 200);
    EXPECT_EQ(pageOnScreen().wrongWaitStart, clock.now());
    EXPECT_EQ(pageOnScreen().answer.chosenItem(), nullptr);
    EXPECT_EQ(pageOnScreen().answer.feedbackDisplay(), display);
    EXPECT_EQ(entry.rightCount, 0);
}

TEST_F(DisplayWindowProcTest, WithoutAQuestionClicksAreNotAnswers) {
    add("Item", {10, 10, 60, 40});
    click(20, 20);
    EXPECT_EQ(pageOnScreen().answer.chosenItem(), nullptr);
    EXPECT_EQ(pageOnScreen().answer.feedbackDisplay(), nullptr);
    EXPECT_EQ(pageOnScreen().rightWaitStart + pageOnScreen().wrongWaitStart, 0u);
}

TEST_F(DisplayWindowProcTest, ScrollRequestsAreOfferedInListOrderUntilOneIsTaken) {
    add("A");
    add("B").scrollResult = true;
    add("C").scrollResult = true;
    displayWindowProc()->scrollRequest(window(), ScrollRequest::PageUp, nullptr);
    EXPECT_EQ(probeLog(), (std::vector<std::string>{"A:scroll", "B:scroll"}));
}

TEST_F(DisplayWindowProcTest, PointerShowsTheHandWhileAQuestionIsAskedAndItMoves) {
    QWidget* client = widgetOf(window());
    move(30, 30);
    EXPECT_EQ(client->cursor().shape(), Qt::ArrowCursor);

    ProbeItem& yes = add("Yes");
    ask("Question", yes);
    move(31, 30);
    EXPECT_NE(client->cursor().shape(), Qt::ArrowCursor);
    move(31, 30); // no movement: the arrow again
    EXPECT_EQ(client->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(lastMousePosition(), (Point{31, 30}));
}

TEST_F(DisplayWindowProcTest, WindowsWithoutADisplayIgnoreEverything) {
    ProbeItem& item = add("Item", {0, 0, 100, 100});
    item.running = true;
    window().setUserData(nullptr);
    click(10, 10);
    displayWindowProc()->timer(window(), &item);
    displayWindowProc()->scrollRequest(window(), ScrollRequest::LineUp, nullptr);
    EXPECT_TRUE(probeLog().empty());
    window().setUserData(display);
}

} // namespace

} // namespace lorvenna

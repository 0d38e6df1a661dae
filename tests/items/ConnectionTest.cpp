// Connections: finding targets by title, the three forms, HIDE and APPEAR, restoring, cycles
// and targets that were deleted with their display.
#include "items/Connection.h"

#include "tests/items/ItemTestSupport.h"

#include <gtest/gtest.h>

namespace lorvenna {

namespace {

Connection* makeConnection(Item& source, const std::string& target, const std::string& input);

Connection& output(Item& source, const std::string& target, const std::string& input) {
    Connection* c = makeConnection(source, target, input);
    appendConnection(source.outputs, c);
    return *c;
}

Connection* makeConnection(Item& source, const std::string& target, const std::string& input) {
    auto* c = new Connection();
    c->source = &source;
    c->targetTitle = target;
    c->inputName = input;
    return c;
}

} // namespace

TEST(Connection, ConstantFormScalesOrReplacesTheValue) {
    struct Case {
        double sent;
        double delivered;
    };
    const Case cases[] = {{0, 5}, {2, 10}, {-1, -5}, {0.5, 2.5}};
    TestPage page;
    Item& source = page.add(1, "Source");
    auto& target = page.add<Receiver>(2, "Target");
    Connection& c = output(source, "TARGET", "VALUE");
    c.isConstant = true;
    c.constant = 5;
    ASSERT_TRUE(source.Connect());
    for (const Case& k : cases) {
        target.received.clear();
        SendOutputs(source, k.sent, false);
        ASSERT_EQ(target.received.size(), 1u);
        EXPECT_EQ(target.received[0].value, k.delivered) << "sent " << k.sent;
        EXPECT_EQ(target.received[0].name, "VALUE");
    }
}

TEST(Connection, PlainAndMotionFormsPassTheValueAndTheMotion) {
    TestPage page;
    Item& source = page.add(1, "Source");
    auto& target = page.add<Receiver>(1, "Target");
    output(source, "Target", "PLAIN");
    output(source, "Target", "MOVE").motion = Pose{true, 10, 20, 30, 40};
    ASSERT_TRUE(source.Connect());
    SendOutputs(source, 3, false);
    ASSERT_EQ(target.received.size(), 2u);
    EXPECT_EQ(target.received[0].value, 3);
    EXPECT_FALSE(target.received[0].motion.enabled);
    EXPECT_EQ(target.received[1].name, "MOVE");
    EXPECT_EQ(target.received[1].value, 3);
    EXPECT_TRUE(target.received[1].motion.enabled);
    EXPECT_EQ(target.received[1].motion.angle, 10);
    EXPECT_EQ(target.received[1].motion.y, 40);
}

TEST(Connection, HideAndAppearSetVisibilityWithoutInput) {
    struct Case {
        const char* input;
        Visibility before;
        Visibility after;
    };
    using enum Visibility;
    const Case cases[] = {
        {"HIDE", Shown, Hidden},   {"hide", Shown, Hidden},        {"Hide", Inverted, Hidden},
        {"APPEAR", Hidden, Shown}, {"appear", Highlighted, Shown}, {"HIDEX", Shown, Shown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        TestPage page;
        Item& source = page.add(1, "Source");
        auto& target = page.add<Receiver>(3, "Target");
        target.visibility = c.before;
        output(source, "Target", c.input);
        ASSERT_TRUE(source.Connect());
        page.display(3).needsRepaint = 0;
        Send(*source.outputs, 0);
        EXPECT_EQ(target.visibility, c.after);
        const bool isCommand = c.before != c.after;
        EXPECT_EQ(target.received.empty(), isCommand);
        EXPECT_EQ(page.display(3).needsRepaint, isCommand ? 1 : 0);
    }
}

TEST(Connection, FirstMatchOfTheLastDisplayHoldingOneWins) {
    TestPage page;
    Item& source = page.add(1, "Source");
    auto& onTwo = page.add<Receiver>(2, "Target");
    auto& onFourFirst = page.add<Receiver>(4, "target");
    auto& onFourSecond = page.add<Receiver>(4, "TARGET");
    output(source, "Target", "GO");
    ASSERT_TRUE(source.Connect());
    EXPECT_EQ(source.outputs->target, &onFourFirst);
    SendOutputs(source, 1, false);
    EXPECT_TRUE(onTwo.received.empty());
    EXPECT_EQ(onFourFirst.received.size(), 1u);
    EXPECT_TRUE(onFourSecond.received.empty());
}

TEST(Connection, MissingTargetFailsNamingTheFirstMissingTitle) {
    TestPage page;
    Item& source = page.add(1, "Source");
    page.add(1, "Present");
    auto* op = makeConnection(source, "NoOperator", "X");
    appendConnection(source.operators, op);
    output(source, "Present", "X");
    EXPECT_EQ(source.Connect().message(), "Connect failed on NoOperator");

    // Outputs are resolved before end outputs, and those before operators.
    auto* end = makeConnection(source, "NoEnd", "X");
    appendConnection(source.endOutputs, end);
    EXPECT_EQ(source.Connect().message(), "Connect failed on NoEnd");

    std::string longTitle(200, 'T');
    output(source, longTitle, "X");
    // The whole title: no buffer cuts the message.
    EXPECT_EQ(source.Connect().message(), "Connect failed on " + longTitle);
}

TEST(Connection, PanelConnectionHasNoTargetAndSendsNothing) {
    TestPage page;
    Item& source = page.add(1, "Source");
    auto& panel = page.add<Receiver>(1, "PANELITEM");
    Connection& c = output(source, "", "VALUE");
    c.isConstant = true;
    c.constant = 2;
    EXPECT_TRUE(source.Connect());
    EXPECT_EQ(c.target, nullptr);
    SendOutputs(source, 1, false);
    EXPECT_TRUE(panel.received.empty());
}

TEST(Connection, DeliveryIsDepthFirstInListOrder) {
    TestPage page;
    Receiver::log.clear();
    Item& source = page.add(1, "Source");
    auto& b = page.add<Relay>(1, "B");
    page.add<Receiver>(2, "C");
    page.add<Receiver>(2, "D");
    output(source, "B", "GO");
    output(source, "C", "GO");
    output(b, "D", "GO");
    ASSERT_TRUE(source.Connect());
    ASSERT_TRUE(b.Connect());
    SendOutputs(source, 1, false);
    EXPECT_EQ(Receiver::log, (std::vector<std::string>{"B", "D", "C"}));
}

TEST(Connection, CycleOfItemsEnds) {
    TestPage page;
    auto& a = page.add<Relay>(1, "A");
    auto& b = page.add<Relay>(2, "B");
    output(a, "B", "GO");
    output(b, "A", "GO");
    ASSERT_TRUE(a.Connect());
    ASSERT_TRUE(b.Connect());
    SendOutputs(a, 1, false);
    EXPECT_EQ(a.received.size() + b.received.size(), static_cast<std::size_t>(kMaxSendDepth));

    // The depth is back at 0 afterwards: the next send is delivered again.
    a.received.clear();
    b.received.clear();
    SendOutputs(a, 1, false);
    EXPECT_EQ(b.received.size(), static_cast<std::size_t>(kMaxSendDepth / 2));

    // Two connections each way would double at every level: the delivery budget ends it.
    output(a, "B", "GO");
    output(b, "A", "GO");
    ASSERT_TRUE(a.Connect());
    ASSERT_TRUE(b.Connect());
    a.received.clear();
    b.received.clear();
    SendOutputs(a, 1, false);
    EXPECT_LE(a.received.size() + b.received.size(), 2u * kMaxDeliveries);
    EXPECT_GT(a.received.size() + b.received.size(), 1000u);
}

TEST(Connection, TargetDeletedWithItsDisplayIsLookedUpAgain) {
    TestPage page;
    Item& source = page.add(1, "Source");
    page.add<Receiver>(3, "Target");
    output(source, "Target", "GO");
    ASSERT_TRUE(source.Connect());

    // Display 3 goes with its items; the connection still holds the old pointer.
    page.remove(3);
    SendOutputs(source, 1, false); // must not touch the deleted item
    EXPECT_EQ(source.outputs->target, nullptr);

    auto& fresh = page.add<Receiver>(5, "Target");
    ASSERT_TRUE(source.Connect());
    EXPECT_EQ(source.outputs->target, &fresh);
    SendOutputs(source, 7, false);
    ASSERT_EQ(fresh.received.size(), 1u);
    EXPECT_EQ(fresh.received[0].value, 7);

    // Gone for good: the next page start fails by title.
    page.remove(5);
    EXPECT_EQ(source.Connect().message(), "Connect failed on Target");
}

TEST(Connection, LiveTargetOnThePageIsKept) {
    TestPage page;
    Item& source = page.add(1, "Source");
    auto& first = page.add<Receiver>(2, "Target");
    output(source, "Target", "GO");
    ASSERT_TRUE(source.Connect());
    // A later page adds another item of that title on a later display: the target stays.
    page.add<Receiver>(6, "Target");
    ASSERT_TRUE(source.Connect());
    EXPECT_EQ(source.outputs->target, &first);

    // A target that is alive but no longer on a display of the page shown is looked up again.
    Display* kept = pageOnScreen().displays[2];
    pageOnScreen().displays[2] = nullptr;
    ASSERT_TRUE(source.Connect());
    EXPECT_EQ(source.outputs->target->display, pageOnScreen().displays[6]);
    pageOnScreen().displays[2] = kept;
}

TEST(Connection, RestoreOutputsGivesBackInitialVisibility) {
    TestPage page;
    Item& source = page.add(1, "Source");
    auto& shown = page.add<Receiver>(2, "Shown");
    auto& hidden = page.add<Receiver>(2, "Hidden");
    shown.initialVisibility = Visibility::Shown;
    hidden.initialVisibility = Visibility::Hidden;
    output(source, "Shown", "HIDE");
    output(source, "Hidden", "APPEAR");
    ASSERT_TRUE(source.Connect());
    SendOutputs(source, 0, true);
    EXPECT_EQ(shown.visibility, Visibility::Hidden);
    EXPECT_EQ(hidden.visibility, Visibility::Shown);
    RestoreOutputs(source);
    EXPECT_EQ(shown.visibility, Visibility::Shown);
    EXPECT_EQ(hidden.visibility, Visibility::Hidden);
    EXPECT_TRUE(shown.received.empty());
}

TEST(Connection, EndOutputsAreSentSeparately) {
    TestPage page;
    Item& source = page.add(1, "Source");
    auto& target = page.add<Receiver>(1, "Target");
    auto* end = makeConnection(source, "Target", "END");
    appendConnection(source.endOutputs, end);
    ASSERT_TRUE(source.Connect());
    SendOutputs(source, 1, false);
    EXPECT_TRUE(target.received.empty());
    SendEndOutputs(source, 4, false);
    ASSERT_EQ(target.received.size(), 1u);
    EXPECT_EQ(target.received[0].name, "END");
    EXPECT_EQ(target.received[0].value, 4);
}

} // namespace lorvenna

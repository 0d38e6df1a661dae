// Drawing services: repainting displays, and the status text and page strip.
#include "items/Drawing.h"

#include "items/Display.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/Picture.h"
#include "platform/QtChildWindow.h"
#include "platform/ScreenScale.h"
#include "shell/Session.h"
#include "tests/shell/ProbeItem.h"
#include "tests/support/FakeApp.h"
#include "tests/support/RecordingSurface.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

Picture pictureOf(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return Picture(image);
}

// A display of the page shown with a real offscreen window.
struct ShownDisplay {
    explicit ShownDisplay(FakeApp& app, int slot = 1, Rect rect = {10, 50, 210, 150}) : slot(slot) {
        display = new Display();
        display->window = app.createDisplayWindow(display, 900 + slot, rect);
        display->window->setUserData(display);
        display->clientRect = display->window->clientRect();
        createDrawingSurfaces(display);
        pageOnScreen().displays[slot] = display;
    }
    ~ShownDisplay() {
        pageOnScreen().displays[slot] = nullptr;
        delete display;
    }
    ProbeItem& add(const std::string& title) {
        auto* item = new ProbeItem(title);
        item->display = display;
        item->surface = display->surface;
        display->appendItem(item);
        return *item;
    }
    QImage shown() { return widgetOf(*display->window)->grab().toImage(); }

    int slot;
    Display* display;
};

class DrawingTest : public testing::Test {
protected:
    DrawingTest() {
        resetSession();
        probeLog().clear();
    }
    FakeApp app;
};

TEST_F(DrawingTest, NewWindowsDrawIntoTheirPictureAndAreMarked) {
    ShownDisplay shown(app);
    Display& d = *shown.display;
    EXPECT_EQ(d.surface, &d.window->imageSurface());
    EXPECT_EQ(d.windowSurface, &d.window->screenSurface());
    EXPECT_EQ(d.needsRepaint, 1);
    // The client is the window less its one-pixel border.
    EXPECT_EQ(d.clientRect, (Rect{0, 0, 198, 98}));
}

TEST_F(DrawingTest, RepaintDrawsMarkedDisplaysOnly) {
    ShownDisplay shown(app);
    shown.add("A");
    shown.add("B");
    repaintDisplay(shown.display);
    EXPECT_EQ(probeLog(), (std::vector<std::string>{"A:draw", "B:draw"}));
    EXPECT_EQ(shown.display->needsRepaint, 0);

    probeLog().clear();
    repaintDisplay(shown.display);
    repaintAllDisplays();
    EXPECT_TRUE(probeLog().empty());

    markAllAndRepaint();
    EXPECT_EQ(probeLog(), (std::vector<std::string>{"A:draw", "B:draw"}));
    probeLog().clear();
    markAndRepaint(shown.display);
    EXPECT_EQ(probeLog().size(), 2u);
}

TEST_F(DrawingTest, MarksOnTheScreenStayUntilTheNextRepaint) {
    ShownDisplay shown(app);
    repaintDisplay(shown.display);
    shown.display->surface->fillRect({0, 0, 198, 98}, {0, 0, 255});
    shown.display->windowSurface->fillRect({20, 20, 36, 36}, {255, 0, 0});
    // Showing the window again (a paint) keeps both the picture and the mark.
    QImage image = shown.shown();
    EXPECT_EQ(image.pixelColor(25, 25), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(60, 60), QColor(0, 0, 255));
    EXPECT_TRUE(probeLog().empty());

    // A repaint starts on white and wipes the mark.
    shown.add("A");
    markAndRepaint(shown.display);
    image = shown.shown();
    EXPECT_EQ(image.pixelColor(25, 25), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(60, 60), QColor(255, 255, 255));
    EXPECT_EQ(probeLog(), std::vector<std::string>{"A:draw"});
}

TEST_F(DrawingTest, PageMarkersFollowTheScreenWidth) {
    struct Case {
        int width;
        Size size;
        PictureId reached;
    };
    const Case cases[] = {
        {640, {12, 16}, PictureId::SmallPageReached},
        {641, {15, 20}, PictureId::MediumPageReached},
        {1023, {15, 20}, PictureId::MediumPageReached},
        {1024, {19, 25}, PictureId::LargePageReached},
        {1920, {19, 25}, PictureId::LargePageReached},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pageMarkers(c.width).reached, c.reached) << c.width;
        // The strip is spaced by the pictures' size, the same for both of a pair.
        for (const PictureId id : {pageMarkers(c.width).reached, pageMarkers(c.width).ahead}) {
            const Picture marker = Picture::resource(id);
            EXPECT_EQ((Size{marker.width(), marker.height()}), c.size) << c.width;
        }
    }
}

TEST_F(DrawingTest, StatusTextIsCentredOnWhite) {
    RecordingSurface surface;
    paintStatusText(surface, {0, 0, 200, 26}, "Processing p. 3");
    EXPECT_EQ(surface.calls(), (std::vector<std::string>{
                                   "fillRect 0,0,200,26 #FFFFFF",
                                   "drawText \"Processing p. 3\" 0,0,200,26 center|singleline"}));
}

TEST_F(DrawingTest, StripOfOnePageShowsOneMarkerInEachStack) {
    lesson().pageCount = 1;
    lesson().turnTo(1);
    RecordingSurface surface;
    // centre 100, half 3 / 2 = 1, left 100 - 1 - 15 = 84
    paintPageStrip(surface, {0, 0, 200, 26}, pictureOf(15, 20), pictureOf(15, 20));
    EXPECT_EQ(surface.calls(), (std::vector<std::string>{
                                   "fillRect 0,0,200,26 #C0C0C0",
                                   "setBrush #000000",
                                   "roundRect 84,0,119,25 corner 4,4 pen 1 #000000 brush #000000",
                                   "setBrush #FFFFFF",
                                   "drawPicture 15x20 at 87,1",
                                   "drawPicture 15x20 at 102,1",
                               }));
}

TEST_F(DrawingTest, StripGrowsOnTheLeftAndShrinksOnTheRight) {
    lesson().pageCount = 10;
    lesson().turnTo(4);
    RecordingSurface surface;
    // centre 100, half 15, marker 19 x 25, left 66; reached at 66 + 3i, ahead at 85 + 3i.
    paintPageStrip(surface, {0, 0, 200, 26}, pictureOf(19, 25), pictureOf(19, 25));
    EXPECT_TRUE(surface.contains("roundRect 66,0,137,25 corner 4,4 pen 1 #000000 brush #000000"));
    std::vector<std::string> expected;
    for (int x : {69, 72, 75, 78})
        expected.push_back("drawPicture 19x25 at " + std::to_string(x) + ",1");
    for (int i = 10; i >= 4; --i)
        expected.push_back("drawPicture 19x25 at " + std::to_string(85 + 3 * i) + ",1");
    EXPECT_EQ(surface.callsStartingWith("drawPicture"), expected);

    // Before the first page nothing is drawn.
    surface.clear();
    lesson().turnTo(0);
    paintPageStrip(surface, {0, 0, 200, 26}, pictureOf(19, 25), pictureOf(19, 25));
    EXPECT_TRUE(surface.calls().empty());
}

TEST_F(DrawingTest, LongLessonDrawsOnlyTheMarkersInTheArea) {
    lesson().pageCount = 20000;
    lesson().turnTo(1);
    RecordingSurface surface;
    // half 30000, marker 12 x 16, left -29912: the pages ahead stand at -29900 + 3i, and
    // only i = 9963 (x -11) to 10033 (x 199) touch the area.
    paintPageStrip(surface, {0, 0, 200, 26}, pictureOf(12, 16), pictureOf(12, 16));
    const std::vector<std::string> pictures = surface.callsStartingWith("drawPicture");
    ASSERT_EQ(pictures.size(), 71u);
    EXPECT_EQ(pictures.front(), "drawPicture 12x16 at 199,1");
    EXPECT_EQ(pictures.back(), "drawPicture 12x16 at -11,1");
    // The frame reaches past both ends of the area.
    EXPECT_TRUE(surface.contains("roundRect -8,0,208,25 corner 4,4 pen 1 #000000 brush #000000"));
}

TEST_F(DrawingTest, StripOfAHugePageNumberStaysInRange) {
    lesson().pageCount = 2000000000;
    lesson().turnTo(1999999999);
    RecordingSurface surface;
    paintPageStrip(surface, {0, 0, 200, 26}, pictureOf(15, 20), pictureOf(15, 20));
    EXPECT_LE(surface.callsStartingWith("drawPicture").size(), 200u);
}

} // namespace

} // namespace lorvenna

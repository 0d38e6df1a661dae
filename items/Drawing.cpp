// Drawing services of the displays, and the status text and page strip of the main window.
#include "items/Drawing.h"

#include "items/Display.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/Picture.h"
#include "platform/ScreenScale.h"
#include "platform/Surface.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace lorvenna {

namespace {

constexpr Color kWhite{255, 255, 255};
constexpr Color kLightGrey{192, 192, 192};
constexpr Color kBlack{0, 0, 0};

// Displays whose repaint is running: an item that asks for its own display to be repainted
// while it draws would otherwise start the repaint over and over.
std::vector<const Display*>& repaintsRunning() {
    static std::vector<const Display*> running;
    return running;
}

// The pairs' pictures are 12 x 16, 15 x 20 and 19 x 25.
struct MarkerPair {
    int upToWidth; // the widest screen the pair is for
    PageMarkers pictures;
};

constexpr MarkerPair kMarkerPairs[] = {
    {640, {PictureId::SmallPageReached, PictureId::SmallPageAhead}},
    {1023, {PictureId::MediumPageReached, PictureId::MediumPageAhead}},
    {INT32_MAX, {PictureId::LargePageReached, PictureId::LargePageAhead}},
};

const MarkerPair& markerPair(int screenWidth) {
    for (const MarkerPair& pair : kMarkerPairs) {
        if (screenWidth <= pair.upToWidth)
            return pair;
    }
    return kMarkerPairs[2];
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return -floorDiv(-a, b);
}

// The i of [from, to] whose marker, w wide at base + i * step, touches the columns of area.
// Markers beyond area would be cut away anyway; skipping them keeps a strip of thousands of
// pages as quick to draw as one of ten.
void visibleMarkers(std::int64_t from, std::int64_t to, std::int64_t base, std::int64_t step, int w,
                    const Rect& area, std::int64_t& first, std::int64_t& last) {
    first = std::max(from, floorDiv(area.left - w - base, step) + 1);
    last = std::min(to, ceilDiv(area.right - base, step) - 1);
}

int clampTo(std::int64_t value, int low, int high) {
    return static_cast<int>(std::clamp<std::int64_t>(value, low, high));
}

} // namespace

void createDrawingSurfaces(Display* display) {
    if (!display || !display->window)
        return;
    // Items always draw into the window's picture, which the window shows when it paints:
    // buffered and unbuffered displays look the same here. What goes "straight to the
    // screen" (the answer marks) lands on the overlay, which the next repaint clears.
    display->surface = &display->window->imageSurface();
    display->windowSurface = &display->window->screenSurface();
    display->needsRepaint = 1;
}

void repaintDisplay(Display* display) {
    if (!display || !display->needsRepaint)
        return;
    auto& running = repaintsRunning();
    if (std::find(running.begin(), running.end(), display) != running.end())
        return;
    running.push_back(display);

    // One batch for the whole picture: the items draw into it, and it is shown once complete.
    Surface* surface = display->surface;
    if (surface) {
        surface->beginBatch();
        // A unit more to the right and below: on a scaled page the window's last pixels may
        // lie beyond the page's last unit, and they too are drawn afresh. Covering the whole
        // picture first is also what lets the surface keep what an unchanged repaint draws.
        const Rect& client = display->clientRect;
        surface->fillRect(Rect{client.left, client.top, client.right + 1, client.bottom + 1},
                          kWhite);
    }
    if (display->window)
        display->window->clearOverlay();
    for (Item* item = display->items; item; item = item->next)
        item->Draw();
    if (surface)
        surface->endBatch();
    if (display->window)
        display->window->present();
    display->needsRepaint = 0;

    running.erase(std::find(running.begin(), running.end(), display));
}

void markAndRepaint(Display* display) {
    if (!display)
        return;
    display->needsRepaint = 1;
    repaintDisplay(display);
}

void markAllAndRepaint() {
    for (Display* display : shownDisplays())
        markAndRepaint(display);
}

void repaintAllDisplays() {
    for (Display* display : shownDisplays())
        repaintDisplay(display);
}

PageMarkers pageMarkers(int screenWidth) {
    return markerPair(screenWidth).pictures;
}

void paintStatusText(Surface& surface, const Rect& area, std::string_view text) {
    surface.fillRect(area, kWhite);
    Rect box = area;
    surface.drawText(text, box, TextCenter | TextSingleLine);
}

void paintPageStrip(Surface& surface, const Rect& area, const Picture& reached,
                    const Picture& ahead) {
    if (lesson().currentPage() < 1)
        return;
    const Size marker{reached.width(), reached.height()};
    const std::int64_t step = 3; // page units: the status surface scales the strip
    const std::int64_t centre = area.left + (area.right - area.left) / 2;
    const std::int64_t half = std::int64_t{lesson().pageCount} * step / 2;
    const std::int64_t left = centre - half - marker.width;

    surface.fillRect(area, kLightGrey);

    // The frame may reach far beyond the area in a long lesson: its ends are kept just
    // outside, where they are cut away, so the arithmetic stays within int.
    const Rect frame{clampTo(left, area.left - 8, area.right + 8), area.top,
                     clampTo(centre + half + marker.width + 3, area.left - 8, area.right + 8),
                     area.bottom - 1};
    surface.setBrush(kBlack);
    surface.roundRect(frame, 4, 4);
    surface.setBrush(kWhite);

    const int top = area.top + 1;
    std::int64_t first = 0;
    std::int64_t last = 0;
    visibleMarkers(1, lesson().currentPage(), left, step, marker.width, area, first, last);
    for (std::int64_t i = first; i <= last; ++i)
        surface.drawPicture(reached, static_cast<int>(left + i * step), top);

    // The pages ahead, from the last one down, so the stack's nearest page lies on top.
    visibleMarkers(lesson().currentPage(), lesson().pageCount, left + marker.width, step,
                   marker.width, area, first, last);
    for (std::int64_t i = last; i >= first; --i)
        surface.drawPicture(ahead, static_cast<int>(left + i * step + marker.width), top);
}

} // namespace lorvenna

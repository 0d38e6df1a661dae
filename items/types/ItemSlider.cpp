// The SLIDER item.
#include "items/types/ItemSlider.h"

#include "items/Connection.h"
#include "items/Display.h"
#include "items/types/ItemButton.h"
#include "platform/ChildWindow.h"
#include "platform/FixedText.h"
#include "platform/LineMatcher.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace lorvenna {

namespace {

// Positions an arrow and a click in the trough move the thumb.
constexpr int kLineMove = 1;
constexpr int kPageMove = 2;

} // namespace

ItemSlider::ItemSlider() {
    type = ItemType::Slider;
    visibility = Visibility::Shown;
    step = 1.0;
}

// A STEP below 1 would leave no whole pixel per position (and 0 would divide by zero), and a
// bar without SIZE can be neither seen nor moved: both are mistakes in the lesson.
Status ItemSlider::acceptDefinition() {
    if (!(step >= 1.0))
        return failure("STEP below 1 in SLIDER " + title);
    if (width <= 0 || height <= 0)
        return failure("No SIZE in SLIDER " + title);
    return {};
}

bool ItemSlider::EndDefinition() {
    const int pixelsPerPosition = truncateToInt(step);
    if (pixelsPerPosition < 1)
        return false;
    const int length = vertical ? height : width;
    const int positions = std::max(length, 0) / pixelsPerPosition;
    maximum = positions; // a MAX line of the block has no say
    if (!display || !display->window)
        return false;
    const int x = truncateCoordinate(pose.x);
    const int y = truncateCoordinate(pose.y);
    control =
        display->window->createScrollBar(controlId, Rect{x, y, x + width, y + height}, vertical);
    if (!control)
        return false;
    // The record is kept where the bar can show it, so the first move starts from the thumb.
    const int start = truncateToInt(startPosition / 100.0 * maximum);
    scrollState = ScrollState{0, positions, std::clamp(start, 0, positions)};
    control->setScrollInfo(scrollState.minimum, scrollState.maximum, scrollState.position);
    return true;
}

Status ItemSlider::ReadCommand(const char* line) {
    if (line && std::strstr(line, "VERTICAL")) {
        vertical = true;
        return {};
    }
    long percent = 0;
    if (LineMatcher m(line); m.keyword("POSITION") && m.whole(percent)) {
        startPosition = static_cast<std::int32_t>(std::clamp<long>(percent, INT_MIN, INT_MAX));
        return {};
    }
    double factor = 0.0;
    if (LineMatcher m(line); m.keyword("SCALE") && m.number(factor)) {
        scale = factor;
        return {};
    }
    return unknownLine();
}

void ItemSlider::Draw() {
    showControl(*this);
}

bool ItemSlider::Scroll(ScrollRequest request, Control* bar) {
    if (!bar || bar != control.get())
        return false;
    const int old = scrollState.position;
    int moved = old;
    switch (request) {
    case ScrollRequest::LineUp:
        moved = old - kLineMove;
        break;
    case ScrollRequest::LineDown:
        moved = old + kLineMove;
        break;
    case ScrollRequest::PageUp:
        moved = old - kPageMove;
        break;
    case ScrollRequest::PageDown:
        moved = old + kPageMove;
        break;
    case ScrollRequest::ThumbPosition:
        moved = bar->trackPosition();
        break;
    case ScrollRequest::ThumbTrack:
    case ScrollRequest::EndScroll:
    case ScrollRequest::Top:
    case ScrollRequest::Bottom:
        break;
    }
    // MIN holds the thumb above the bar's own start, but never outside the bar: a position
    // the bar cannot show would send motion while the thumb stands still.
    const int lowest = std::clamp(truncateToInt(minimum), 0, scrollState.maximum);
    if (moved > scrollState.maximum)
        moved = scrollState.maximum;
    else if (moved < lowest)
        moved = lowest;
    scrollState.position = moved;
    bar->setScrollInfo(scrollState.minimum, scrollState.maximum, moved);
    if (moved == old)
        return false;
    SendOutputs(*this, (moved - old) * scale / step, true);
    return true;
}

} // namespace lorvenna

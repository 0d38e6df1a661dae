// The shapes of an item's outline: where each segment ends, what it draws and which pens.
#include "items/Shape.h"

#include "items/Display.h"
#include "items/Item.h"
#include "items/Palette.h"
#include "items/RunObjects.h"
#include "platform/ScreenScale.h"
#include "platform/Surface.h"

#include <algorithm>
#include <cmath>

namespace lorvenna {

namespace {

// Truncation toward zero, except that a value within a hair of a whole number is that number:
// cos and sin of right angles and of 30 degrees are not exact in binary, and 100 - 1.8e-14
// must not end a segment pointing straight up one pixel to the left.
int truncatePoint(double value) {
    const double nearest = std::round(value);
    if (std::fabs(value - nearest) < 1e-7)
        return truncateCoordinate(nearest);
    return truncateCoordinate(value);
}

// Draws with pen selected, then puts the surface's previous pen back.
template <typename Draw> void withPen(Surface* surface, const Pen* pen, Draw draw) {
    const Pen* previous = surface->selectPen(pen);
    draw();
    surface->selectPen(previous);
}

} // namespace

void Shape::Init(double angle, double length, Item* ownerItem, std::int32_t width,
                 std::int32_t color) {
    pose.angle = angle;
    pose.length = length;
    initialPose = pose;
    owner = ownerItem;
    surface = ownerItem ? ownerItem->surface : nullptr;
    SetWidth(width);
    SetColor(color);
}

void Shape::SetWidth(std::int32_t width) {
    // A width below 0 draws as the thinnest pen, as 0 does.
    penWidth = std::max(0, truncateCoordinate(width));
}

void Shape::Restart() {
    pose = initialPose;
}

Point Shape::EndPoint(Point start) {
    const double angle = pose.angle + (owner ? owner->pose.angle : 0.0);
    const double t = degreesToRadians(angle);
    pose.x = start.x + std::cos(t) * pose.length;
    pose.y = start.y - std::sin(t) * pose.length;
    return {truncatePoint(pose.x), truncatePoint(pose.y)};
}

void Shape::SetColor(std::int32_t) {}

void Shape::AcquirePens() {}

Point Shape::DrawSegment(Visibility, Point) {
    return {0, 0};
}

void ShapeLine::SetColor(std::int32_t index) {
    colorIndex = clampColorIndex(index);
}

void ShapeLine::AcquirePens() {
    if (!owner || !owner->display)
        return;
    normalPen = owner->display->getPen(penWidth, normalColor(colorIndex));
    highlightPen = owner->display->getPen(penWidth, highlightColor(colorIndex));
}

Point ShapeLine::DrawSegment(Visibility mode, Point start) {
    const Point end = EndPoint(start);
    OutlinePoints::add(end);
    if (!surface)
        return end;
    switch (mode) {
    case Visibility::Hidden:
        surface->moveTo(end.x, end.y);
        break;
    case Visibility::Shown:
    case Visibility::Inverted:
        withPen(surface, normalPen, [&] { surface->lineTo(end.x, end.y); });
        break;
    case Visibility::Highlighted:
        withPen(surface, highlightPen, [&] { surface->lineTo(end.x, end.y); });
        break;
    }
    return end;
}

void ShapeCircle::SetColor(std::int32_t index) {
    colorIndex = clampColorIndex(index);
}

void ShapeCircle::AcquirePens() {
    if (!owner || !owner->display)
        return;
    normalPen = owner->display->getPen(penWidth, normalColor(colorIndex));
    highlightPen = owner->display->getPen(penWidth, highlightColor(colorIndex));
}

Point ShapeCircle::DrawSegment(Visibility mode, Point start) {
    // A circle does not move the chain: the next segment starts at its centre. Its inside
    // takes the surface's current brush.
    const double r = pose.length;
    const Rect box{truncateCoordinate(start.x - r), truncateCoordinate(start.y - r),
                   truncateCoordinate(start.x + r), truncateCoordinate(start.y + r)};
    const Pen* pen = nullptr;
    switch (mode) {
    case Visibility::Hidden:
        OutlinePoints::add(start);
        if (surface)
            surface->moveTo(start.x, start.y);
        return start;
    case Visibility::Shown:
    case Visibility::Inverted:
        pen = normalPen;
        break;
    case Visibility::Highlighted:
        pen = highlightPen;
        break;
    }
    OutlinePoints::add(start);
    if (surface)
        withPen(surface, pen, [&] { surface->ellipse(box); });
    return start;
}

Point ShapeInvisible::DrawSegment(Visibility, Point start) {
    const Point end = EndPoint(start);
    OutlinePoints::add(end);
    if (surface)
        surface->moveTo(end.x, end.y);
    return end;
}

} // namespace lorvenna

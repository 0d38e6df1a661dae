// The ANI item: its lines, motion, drawing with hitch and rubber band, and the pass-on.
#include "items/types/ItemAni.h"

#include "items/Display.h"
#include "items/RunObjects.h"
#include "items/Shape.h"
#include "platform/FixedText.h"
#include "platform/LineMatcher.h"
#include "platform/Surface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace lorvenna {

namespace {

constexpr const char* kStop = "STOP";
constexpr const char* kHitch = "HITCH";
constexpr const char* kBandTo = "BANDTO";
constexpr const char* kMove = "MOVE";
constexpr const char* kRestart = "RESTART";

// A stretched or shrunk shape is never shorter than this.
constexpr double kShortestShape = 1.0;

Status resolve(Connection& connection) {
    return Connect(connection);
}

// A named reference to the item with this title, or nullptr when no memory is left.
std::unique_ptr<Connection> namedReference(Item& source, const std::string& title) {
    std::unique_ptr<Connection> reference(new (std::nothrow) Connection());
    if (reference) {
        reference->source = &source;
        reference->targetTitle = title;
    }
    return reference;
}

} // namespace

ItemAni::ItemAni() {
    type = ItemType::Ani;
    visibility = Visibility::Shown;
    initialVisibility = Visibility::Shown;
    running = true; // motion enabled
}

// The figure goes back to the visibility its block leaves it with (HIDE or APPEAR), not to
// the one it was made with, when its connections are restored.
bool ItemAni::EndDefinition() {
    initialVisibility = visibility;
    return true;
}

bool ItemAni::StartupAction() {
    PrepareShapes();
    // End point, outline, region and bounds, without drawing anything.
    const Visibility shown = visibility;
    visibility = Visibility::Hidden;
    DrawShapes();
    visibility = shown;
    return true;
}

void ItemAni::DrawShapes() {
    if (!shapes) {
        endX = pose.x;
        endY = pose.y;
        return;
    }
    // Unlike other items, the location itself is no point of the outline.
    OutlinePoints::clear();
    Point p{truncateCoordinate(pose.x), truncateCoordinate(pose.y)};
    if (surface)
        surface->moveTo(p.x, p.y);
    for (Shape* shape = shapes; shape; shape = shape->next)
        p = shape->DrawSegment(visibility, p);
    // The end point before the region: a figure that encloses nothing has bounds around its
    // start and its end as drawn now.
    endX = p.x;
    endY = p.y;
    MakePolygonRegion();
}

Status ItemAni::Connect() {
    for (Connection* c = outputs; c; c = c->next) {
        if (Status resolved = resolve(*c); !resolved)
            return resolved;
    }
    if (hitch) {
        if (Status resolved = resolve(*hitch); !resolved)
            return resolved;
    }
    if (rubberBand)
        return resolve(*rubberBand);
    return {};
}

std::int32_t ItemAni::HitTest(int x, int y) {
    return hitTestable && bounds.contains(x, y) ? area : 0;
}

std::int32_t ItemAni::HitTestRight(int x, int y) {
    return rightHitTestable && bounds.contains(x, y) ? area : 0;
}

Status ItemAni::ReadCommand(const char* line) {
    // The whole line: an indented STOP is no command.
    if (line && std::strcmp(line, kStop) == 0) {
        running = false;
        return {};
    }
    std::string other;
    LineMatcher hitchLine(line);
    if (hitchLine.keyword(kHitch) && hitchLine.word(other)) {
        hitch = namedReference(*this, other);
        if (!hitch)
            return failure("HITCH from " + other + " to " + title + " failed.");
        return {};
    }
    LineMatcher bandLine(line);
    if (bandLine.keyword(kBandTo) && bandLine.word(other)) {
        if (!shapes)
            return failure("BANDTO from " + title + " to " + other + " without SHAPE.");
        rubberBand = namedReference(*this, other);
        if (!rubberBand)
            return failure("RUBBERBAND from " + title + " to " + other + " failed.");
        return {};
    }
    return unknownLine();
}

void ItemAni::Draw() {
    if (hitch) {
        if (const Item* hitched = liveTarget(*hitch)) {
            pose.x = hitched->endX;
            pose.y = hitched->endY;
        }
    }
    pose.angle += motion.angle;
    pose.x += motion.x;
    pose.y += motion.y;
    clampPose();

    DrawShapes();
    if (rubberBand && visibility != Visibility::Hidden)
        drawRubberBand();

    SendOutputs(*this, lastMove, false);
    motion.angle = 0.0;
    motion.length = 0.0;
    motion.x = 0.0;
    motion.y = 0.0;
    lastMove = 0.0;
}

// Each range line holds angle, x and y together.
void ItemAni::clampPose() {
    if (upperLimit.enabled) {
        pose.angle = std::min(pose.angle, upperLimit.angle);
        pose.x = std::min(pose.x, upperLimit.x);
        pose.y = std::min(pose.y, upperLimit.y);
    }
    if (lowerLimit.enabled) {
        pose.angle = std::max(pose.angle, lowerLimit.angle);
        pose.x = std::max(pose.x, lowerLimit.x);
        pose.y = std::max(pose.y, lowerLimit.y);
    }
}

// A straight line from the end of the chain to the other item's location, with the pen of
// the figure's last shape.
void ItemAni::drawRubberBand() {
    const Item* other = liveTarget(*rubberBand);
    if (!other || !surface)
        return;
    const Shape* last = shapes;
    while (last && last->next)
        last = last->next;
    const Pen* previous = surface->selectPen(last ? last->normalPen : nullptr);
    surface->lineTo(truncateCoordinate(other->pose.x), truncateCoordinate(other->pose.y));
    surface->selectPen(previous);
}

void ItemAni::Input(const char* name, double value, const Pose* motionVector) {
    if (containsText(name, kMove)) {
        if (!running)
            return; // not even a repaint
        accumulate(value, motionVector);
    } else if (containsText(name, kRestart)) {
        pose = initialPose;
        for (Shape* shape = shapes; shape; shape = shape->next)
            shape->Restart();
    }
    if (display)
        display->needsRepaint = 1;
}

// A connection's motion vector holds the angle, length, x and y rates; other connections
// carry none, so their MOVE moves nothing but is still passed on.
void ItemAni::accumulate(double value, const Pose* rates) {
    lastMove = value;
    if (!rates)
        return;
    const double turn = rates->angle * value;
    const double dx = rates->x * value;
    const double dy = rates->y * value;
    const double stretch = rates->length * value;
    // A "nan" or "inf" in a lesson would lose the figure for good: such a move moves nothing.
    if (!std::isfinite(turn) || !std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(stretch))
        return;
    motion.angle += turn;
    motion.x += dx;
    motion.y += dy;
    if (rates->length == 0.0)
        return;
    for (Shape* shape = shapes; shape; shape = shape->next) {
        shape->pose.length += stretch;
        if (shape->pose.length < kShortestShape)
            shape->pose.length = kShortestShape;
    }
}

} // namespace lorvenna

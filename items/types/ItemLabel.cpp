// The LABEL item.
#include "items/types/ItemLabel.h"

#include "items/Connection.h"
#include "items/Display.h"
#include "items/Palette.h"
#include "items/RunObjects.h"
#include "items/Shape.h"
#include "platform/LineMatcher.h"
#include "platform/Surface.h"

#include <algorithm>
#include <cstdint>

namespace lorvenna {

namespace {

constexpr const char* kHiddenAnswer = "???";

} // namespace

ItemLabel::ItemLabel() {
    type = ItemType::Label;
    visibility = Visibility::Shown;
    initialVisibility = Visibility::Shown;
    mode = kLabelPlain;
    frameColor = -1; // take lineColor at the first Draw
}

const char* ItemLabel::shownText() const {
    return pageOnScreen().answer.questionActive() ? kHiddenAnswer : text.c_str();
}

bool ItemLabel::StartupAction() {
    if (shapes) {
        PrepareShapes();
        if (mode == kLabelSeq)
            currentSegment = shapes;
    }
    if (!text.empty())
        MakeRegion();
    return true;
}

void ItemLabel::MakeRegion() {
    if (!surface || !display)
        return;
    const int left = truncateCoordinate(pose.x);
    const int top = truncateCoordinate(pose.y);
    // Not wrapped: lines break only where the text has line breaks.
    Rect box{left, top, display->clientRect.width(), display->clientRect.height()};
    const int h = surface->drawText(shownText(), box, TextCalcRect);
    const int w = box.width();
    width = w;
    height = h;
    area = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{w} * h, INT32_MAX));
    bounds = {left - 2, top - 4, left + w + 2, top + h};
    if (!region)
        region = std::make_unique<Region>(Region::rectangle(bounds));
}

bool ItemLabel::Click(Display*, int, int, int) {
    SendOutputs(*this, 1.0, true);
    return true;
}

Status ItemLabel::ReadCommand(const char* line) {
    if (containsText(line, "BLINK")) {
        mode = kLabelBlink;
        visibility = Visibility::Hidden;
        initialVisibility = Visibility::Hidden;
        return {};
    }
    if (containsText(line, "SEQ")) {
        mode = kLabelSeq;
        visibility = Visibility::Hidden;
        initialVisibility = Visibility::Hidden;
        return {};
    }
    return unknownLine();
}

void ItemLabel::Draw() {
    if (visibility == Visibility::Hidden || !surface)
        return;
    OutlinePoints::clear();
    const Point start{truncateCoordinate(pose.x), truncateCoordinate(pose.y)};
    surface->moveTo(start.x, start.y);
    Point p = start;
    Point anchor = start;
    for (Shape* shape = shapes; shape; shape = shape->next) {
        Visibility drawingMode = visibility;
        if (mode == kLabelSeq)
            drawingMode = shape == currentSegment ? Visibility::Shown : Visibility::Hidden;
        p = shape->DrawSegment(drawingMode, p);
        if (shape == anchorShape)
            anchor = p;
    }
    if (mode == kLabelSeq && shapes)
        currentSegment = currentSegment && currentSegment->next ? currentSegment->next : shapes;
    endX = p.x;
    endY = p.y;

    if (!text.empty())
        drawFrame(anchor, shownText());
}

void ItemLabel::drawFrame(Point anchor, const char* shown) {
    MakeRegion();
    const int w = bounds.width();
    const int h = bounds.height();
    bounds = {anchor.x - w / 2, anchor.y - h / 2, anchor.x + w / 2, anchor.y + h / 2};
    if (frameColor < 0)
        frameColor = lineColor;

    Pen pen;
    pen.width = kLabelFrameWidth;
    pen.color = visibility == Visibility::Highlighted ? highlightColor(frameColor)
                                                      : normalColor(frameColor);
    pen.squareCaps = true;
    const Pen* previous = surface->selectPen(&pen);
    surface->moveTo(bounds.left, bounds.top);
    surface->lineTo(bounds.right, bounds.top);
    surface->lineTo(bounds.right, bounds.bottom);
    surface->lineTo(bounds.left, bounds.bottom);
    surface->lineTo(bounds.left, bounds.top);
    surface->selectPen(previous);

    // The caption sits 2 pixels low in its frame; the moved box stays the hit rectangle.
    bounds.top += 2;
    bounds.bottom += 2;
    Rect box = bounds;
    surface->drawText(shown, box, TextCenter | TextWordBreak);
}

void ItemLabel::Input(const char* name, double, const Pose*) {
    if (!containsText(name, "FLASH"))
        return;
    if (mode == kLabelBlink)
        visibility = visibility == Visibility::Shown ? Visibility::Highlighted : Visibility::Shown;
    else if (mode == kLabelSeq && visibility == Visibility::Hidden)
        visibility = Visibility::Shown;
    if (display)
        display->needsRepaint = 1;
}

} // namespace lorvenna

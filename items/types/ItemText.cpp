// The TEXT item.
#include "items/types/ItemText.h"

#include "items/Connection.h"
#include "items/Display.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/LineMatcher.h"
#include "platform/Surface.h"

#include <algorithm>
#include <cstdint>

namespace lorvenna {

namespace {

// The text ends this far before the display's right edge.
constexpr int kRightMargin = 10;

} // namespace

ItemText::ItemText() {
    type = ItemType::Text;
    visibility = Visibility::Shown;
}

ItemText::~ItemText() {
    if (running)
        stopTimer();
}

void ItemText::stopTimer() {
    running = false;
    if (display && display->window)
        display->window->stopTimer(this);
}

bool ItemText::StartupAction() {
    // A prompt stays hidden; while its question is current it is drawn all the same.
    if (keyKinds != 0)
        visibility = Visibility::Hidden;
    if (isCurrentQuestion)
        Click(display, 0, 0, 0);
    return true;
}

void ItemText::MakeRegion() {
    if (!surface || !display)
        return;
    Rect box{truncateCoordinate(pose.x), truncateCoordinate(pose.y),
             display->clientRect.width() - kRightMargin, display->clientRect.height()};
    const int textHeight = surface->drawText(text, box, TextWordBreak | TextCalcRect);
    bounds = box;
    width = bounds.width();
    height = textHeight;
    area =
        static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{width} * height, INT32_MAX));
    // The region keeps the extent of the first layout.
    if (!region)
        region = std::make_unique<Region>(Region::rectangle(bounds));
}

bool ItemText::Click(Display*, int, int, int) {
    for (Display* shown : shownDisplays()) {
        for (Item* item = shown->items; item; item = item->next) {
            if (item != this && item->isType(ItemType::Text))
                item->Input("STOP", 0.0, nullptr);
        }
    }
    // Nothing is sent now: the first pulse comes with the first tick.
    if (outputs) {
        running = true;
        if (display && display->window)
            display->window->startTimer(this, kTextPulseMilliseconds);
    }
    return true;
}

Status ItemText::ReadCommand(const char* line) {
    // "ACTNOW": the text clicks itself at page start and is drawn even while hidden.
    if (containsText(line, "ACTNOW")) {
        isCurrentQuestion = true;
        return {};
    }
    return unknownLine();
}

void ItemText::Draw() {
    if (text.empty() || !surface)
        return;
    if (visibility == Visibility::Hidden && !isCurrentQuestion)
        return;
    MakeRegion();
    Rect box = bounds;
    surface->drawText(text, box, TextLeft | TextWordBreak);
}

void ItemText::Input(const char* name, double, const Pose*) {
    if (containsText(name, "TICK")) {
        if (outputs)
            SendOutputs(*this, 0.0, true);
        return;
    }
    if (containsText(name, "STOP")) {
        // A text that is not pulsing leaves its targets alone.
        if (!running)
            return;
        stopTimer();
        if (outputs)
            RestoreOutputs(*this);
    }
}

} // namespace lorvenna

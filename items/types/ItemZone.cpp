// The ZONE item.
#include "items/types/ItemZone.h"

#include "items/Connection.h"
#include "items/Display.h"
#include "items/RunObjects.h"
#include "platform/IgnoreCase.h"
#include "platform/LineMatcher.h"
#include "platform/Surface.h"

#include <cstring>
#include <string_view>

namespace lorvenna {

namespace {

// The kind words a zone's SHAPE lines may use: each one letter, in either case. Other item
// types look at the first letter only, so "Line" draws a line for them but not for a zone.
constexpr std::string_view kZoneShapeKinds[] = {"L", "M", "C"};

std::uint8_t lowByte(std::int32_t component) {
    return static_cast<std::uint8_t>(component & 0xFF);
}

// (256 - c) mod 256 for each component.
Color complementOf(Color c) {
    return {static_cast<std::uint8_t>(-c.r), static_cast<std::uint8_t>(-c.g),
            static_cast<std::uint8_t>(-c.b)};
}

} // namespace

ItemZone::ItemZone() {
    type = ItemType::Zone;
    mode = kZoneOutlineOnly;
}

// A zone prepares its outline but never clicks itself: a click would answer its own question.
bool ItemZone::StartupAction() {
    if (shapes)
        PrepareShapes();
    return true;
}

Shape* ItemZone::AddShape(double angle, double length, const char* kind) {
    if (!kind)
        return nullptr;
    for (std::string_view word : kZoneShapeKinds) {
        if (equalsIgnoringCase(word, kind))
            return Item::AddShape(angle, length, word.data());
    }
    return nullptr;
}

bool ItemZone::Click(Display*, int, int, int) {
    if (pageOnScreen().answer.questionActive()) {
        // During the pause the answer is judged already, and its marks are wiped on the
        // display that took it: a click now must not move them elsewhere.
        if (pageOnScreen().answerPauseRunning())
            return true;
        pageOnScreen().answer.choose(this, display);
        pageOnScreen().answer.setMark(truncateCoordinate(pose.x + width / 2),
                                      truncateCoordinate(pose.y + height / 2));
        return true;
    }
    resetZonesAndLabels();
    SendOutputs(*this, 0.0, true);
    return true;
}

void ItemZone::resetZonesAndLabels() {
    for (Display* shown : shownDisplays()) {
        for (Item* item = shown->items; item; item = item->next) {
            if (item == this || !(item->isType(ItemType::Zone) || item->isType(ItemType::Label)))
                continue;
            item->visibility = item->initialVisibility;
            if (item->display)
                item->display->needsRepaint = 1;
        }
    }
}

// Inside the outline only, and not before the zone has been drawn once.
std::int32_t ItemZone::HitTest(int x, int y) {
    return region && region->contains(x, y) ? area : 0;
}

Status ItemZone::ReadCommand(const char* line) {
    LineMatcher m(line);
    long red = 0;
    long green = 0;
    long blue = 0;
    if (!m.keyword("BACKGROUND") || !m.whole(red) || !m.whole(green) || !m.whole(blue))
        return unknownLine();
    // Wrapped into 32 bits, which keeps the low 8 bits that make the colour.
    backgroundRed = static_cast<std::int32_t>(red);
    backgroundGreen = static_cast<std::int32_t>(green);
    backgroundBlue = static_cast<std::int32_t>(blue);
    mode = kZoneFilled;
    return {};
}

void ItemZone::Draw() {
    DrawShapes();
    if (mode != kZoneFilled || !region || !surface)
        return;
    const Color colour{lowByte(backgroundRed), lowByte(backgroundGreen), lowByte(backgroundBlue)};
    switch (visibility) {
    case Visibility::Hidden:
        return;
    case Visibility::Shown:
        surface->fillRegion(*region, colour);
        return;
    case Visibility::Highlighted:
        surface->fillRegion(*region, complementOf(colour));
        return;
    case Visibility::Inverted:
        surface->fillRegionNotXor(*region, colour);
        return;
    }
}

// FLASH blinks a filled zone: the fill combined with the picture, then nothing, then the
// combined fill again.
void ItemZone::Input(const char* name, double, const Pose*) {
    if (!name || !std::strstr(name, "FLASH") || mode != kZoneFilled)
        return;
    visibility = visibility == Visibility::Inverted ? Visibility::Hidden : Visibility::Inverted;
    if (display)
        display->needsRepaint = 1;
}

bool ItemZone::PreProcessKey(KeyEntry& key) {
    return key.kind == kKeyShow;
}

} // namespace lorvenna

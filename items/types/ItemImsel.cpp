// The IMSEL item.
#include "items/types/ItemImsel.h"

#include "items/Connection.h"
#include "platform/LineMatcher.h"

#include <climits>

namespace lorvenna {

namespace {

std::int32_t clampToInt32(long long value) {
    return static_cast<std::int32_t>(value < INT32_MIN ? INT32_MIN
                                                       : (value > INT32_MAX ? INT32_MAX : value));
}

} // namespace

ItemImsel::ItemImsel() {
    type = ItemType::Imsel;
    mode = kImselStop;
}

// Counts the members and switches the selected one on. Without a selection of 1 or more, or
// without members, the page cannot start.
bool ItemImsel::StartupAction() {
    std::int32_t count = 0;
    if (selection >= 1) {
        for (Connection* c = outputs; c; c = c->next) {
            ++count;
            if (count == selection)
                Send(*c, 0.0);
        }
    }
    if (count == 0)
        return false;
    maximum = count;
    return true;
}

Status ItemImsel::ReadCommand(const char* line) {
    LineMatcher m(line);
    long number = 0;
    if (m.keyword("REQUESTSELECT") && m.whole(number)) {
        selection = clampToInt32(number);
        return {};
    }
    if (containsText(line, "WRAP")) {
        mode = kImselWrap;
        return {};
    }
    return unknownLine();
}

void ItemImsel::Input(const char* name, double value, const Pose*) {
    deliver(selection);
    if (containsText(name, "DELTA")) {
        const std::int32_t step = truncateToInt(value);
        selection = clampToInt32(static_cast<long long>(selection) + (step == 0 ? 1 : step));
    } else if (containsText(name, "REQUESTSELECT")) {
        selection = truncateToInt(value);
        showOnly(selection);
        return;
    }
    keepInRange();
    deliver(selection);
}

void ItemImsel::keepInRange() {
    const std::int32_t last = truncateToInt(maximum);
    if (selection > last)
        selection = mode == kImselWrap ? 1 : last;
    else if (selection < 1)
        selection = mode == kImselWrap ? last : 1;
}

// Sends 0 along the member's connection; nothing when there is no such member.
void ItemImsel::deliver(std::int32_t member) {
    std::int32_t k = 1;
    for (Connection* c = outputs; c; c = c->next, ++k) {
        if (k == member) {
            Send(*c, 0.0);
            return;
        }
    }
}

// Shows the member's target and hides every other one through their own APPEAR and HIDE
// inputs, whatever the members' commands are. A member outside the series hides them all.
void ItemImsel::showOnly(std::int32_t member) {
    std::int32_t k = 1;
    for (Connection* c = outputs; c; c = c->next, ++k) {
        if (Item* target = liveTarget(*c))
            target->Input(k == member ? "APPEAR" : "HIDE", 0.0, nullptr);
    }
}

} // namespace lorvenna

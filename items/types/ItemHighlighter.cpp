// The HIGHLIGHTER item.
#include "items/types/ItemHighlighter.h"

#include "items/Connection.h"
#include "items/Display.h"
#include "items/Drawing.h"
#include "items/PageEntry.h"
#include "items/RunObjects.h"
#include "items/types/ItemButton.h"
#include "platform/ChildWindow.h"
#include "platform/LineMatcher.h"

namespace lorvenna {

// Made running although no timer runs yet, so that the first STOP it receives (another
// highlighter pressed, or the page change) puts its targets back even if it was never pressed.
ItemHighlighter::ItemHighlighter() {
    type = ItemType::Highlighter;
    visibility = Visibility::Shown;
    running = true;
}

ItemHighlighter::~ItemHighlighter() {
    if (running)
        cancelTimer();
}

bool ItemHighlighter::EndDefinition() {
    return makePushButton(*this);
}

void ItemHighlighter::Draw() {
    showControl(*this);
}

void ItemHighlighter::Input(const char* name, double, const Pose*) {
    if (containsText(name, "TICK")) {
        if (outputs) {
            SendOutputs(*this, 1.0, true);
            repaintAllDisplays();
        }
        return;
    }
    if (containsText(name, "STOP") && running) {
        running = false;
        cancelTimer();
        if (outputs)
            RestoreOutputs(*this);
    }
}

bool ItemHighlighter::Command(unsigned notification) {
    if ((notification >> 16) != static_cast<unsigned>(kNotifyClicked))
        return false;
    for (Display* shown : shownDisplays()) {
        for (Item* item = shown->items; item; item = item->next) {
            if (item != this && item->isType(ItemType::Highlighter))
                item->Input("STOP", 0.0, nullptr);
        }
    }
    // Also without outputs; pressing again restarts the period without stopping the targets.
    running = true;
    if (display && display->window)
        display->window->startTimer(this, kHighlighterPulseMilliseconds);
    return true;
}

void ItemHighlighter::cancelTimer() {
    if (display && display->window)
        display->window->stopTimer(this);
}

} // namespace lorvenna

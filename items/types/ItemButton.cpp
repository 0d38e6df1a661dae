// The BUTTON item.
#include "items/types/ItemButton.h"

#include "items/AppServices.h"
#include "items/Connection.h"
#include "items/Display.h"
#include "items/Drawing.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"

#include <cstring>

namespace lorvenna {

namespace {

// The control is this much narrower and lower than the item's box.
constexpr int kControlInsetX = 10;
constexpr int kControlInsetY = 4;
// The answer mark sits this far left of the box's right edge, on its top.
constexpr int kMarkInset = 6;

void focusMainWindow() {
    appServices().focusMainWindow();
}

} // namespace

ItemButton::ItemButton() {
    type = ItemType::Button;
    visibility = Visibility::Shown;
}

// A button neither prepares nor draws shapes, and never clicks itself as a question.
bool ItemButton::StartupAction() {
    return true;
}

bool ItemButton::EndDefinition() {
    return makePushButton(*this);
}

Status ItemButton::ReadCommand(const char* line) {
    if (line && std::strstr(line, "TURNPAGE")) {
        mode = kButtonTurnPage;
        return {};
    }
    return unknownLine();
}

void ItemButton::Draw() {
    showControl(*this);
}

bool ItemButton::PreProcessKey(KeyEntry& key) {
    return key.kind == kKeyButton || key.kind == kKeyAnd;
}

bool ItemButton::Command(unsigned notification) {
    if ((notification >> 16) != static_cast<unsigned>(kNotifyClicked))
        return false;

    if (mode == kButtonTurnPage) {
        // Never an answer of its own; true all the same, also on the last page.
        focusMainWindow();
        // The controller turns the page when it takes the request.
        const Lesson& played = lesson();
        if (played.currentPage() < played.pageCount)
            appServices().postState(StateCode::ShowPage, played.currentPage() + 1);
        return true;
    }

    if (outputs) {
        SendOutputs(*this, 1.0, true);
        markAllAndRepaint();
    }
    if (!pageOnScreen().answer.questionActive()) {
        focusMainWindow();
        return false;
    }
    pageOnScreen().answer.choose(this, display);
    pageOnScreen().answer.setMark(truncateCoordinate(pose.x + width - kMarkInset),
                                  truncateCoordinate(pose.y));
    focusMainWindow();
    return true;
}

bool makePushButton(Item& item) {
    item.MakeRegion();
    if (!item.display || !item.display->window)
        return false;
    const int x = truncateCoordinate(item.pose.x);
    const int y = truncateCoordinate(item.pose.y);
    const Rect rect{x, y, x + item.width - kControlInsetX, y + item.height - kControlInsetY};
    item.control = item.display->window->createButton(item.controlId, rect, item.text);
    if (!item.control)
        return false;
    if (item.visibility == Visibility::Hidden)
        item.control->show(false);
    return true;
}

void showControl(Item& item) {
    if (!item.control)
        return;
    // The control paints itself over the display whenever the display is painted: asking
    // for another paint here would only paint it twice.
    item.control->show(item.visibility != Visibility::Hidden);
}
} // namespace lorvenna

// The BUTTON item: a push button on a display.
#pragma once

#include "items/Item.h"

namespace lorvenna {

// Pressing the button sends 1 along its outputs and, while a question is active, gives the
// button as the student's answer. A TURNPAGE button turns to the next page instead.
class ItemButton : public Item {
public:
    ItemButton();

    bool StartupAction() override;
    bool EndDefinition() override;
    Status ReadCommand(const char* line) override;
    void Draw() override;
    bool PreProcessKey(KeyEntry& key) override;
    bool Command(unsigned notification) override;
};

// The push button of a BUTTON or HIGHLIGHTER item, made at the end of its block: at the
// location, 10 narrower and 4 lower than the item's box, hidden at once after a HIDE line.
// False when no button could be made.
bool makePushButton(Item& item);
// Shows the item's control while the item is not hidden, else hides it; it repaints.
void showControl(Item& item);

// Button modes.
inline constexpr std::int32_t kButtonPlain = 0;
inline constexpr std::int32_t kButtonTurnPage = 1;

} // namespace lorvenna

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
    bool ReadCommand(const char* line) override;
    void Draw() override;
    bool PreProcessKey(KeyEntry& key) override;
    bool Command(unsigned notification) override;
};

// Button modes.
inline constexpr std::int32_t kButtonPlain = 0;
inline constexpr std::int32_t kButtonTurnPage = 1;

} // namespace lorvenna

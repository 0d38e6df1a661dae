// The BUTTON item.
#include "items/types/ItemButton.h"

ItemButton::ItemButton() { type = static_cast<std::int32_t>(ItemType::Button); }

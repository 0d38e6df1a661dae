// The TEXT item.
#include "items/types/ItemText.h"

ItemText::ItemText() { type = static_cast<std::int32_t>(ItemType::Text); }

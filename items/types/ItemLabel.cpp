// The LABEL item.
#include "items/types/ItemLabel.h"

ItemLabel::ItemLabel() { type = static_cast<std::int32_t>(ItemType::Label); }

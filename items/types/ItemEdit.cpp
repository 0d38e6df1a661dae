// The EDIT item.
#include "items/types/ItemEdit.h"

ItemEdit::ItemEdit() { type = static_cast<std::int32_t>(ItemType::Edit); }

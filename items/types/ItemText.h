// The TEXT item.
#pragma once

#include "items/Item.h"

class ItemText : public Item {
public:
    ItemText();
};

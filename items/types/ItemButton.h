// The BUTTON item.
#pragma once

#include "items/Item.h"

class ItemButton : public Item {
public:
    ItemButton();
};

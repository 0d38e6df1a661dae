// The EDIT item.
#pragma once

#include "items/Item.h"

class ItemEdit : public Item {
public:
    ItemEdit();
};

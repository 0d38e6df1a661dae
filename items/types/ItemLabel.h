// The LABEL item.
#pragma once

#include "items/Item.h"

class ItemLabel : public Item {
public:
    ItemLabel();
};

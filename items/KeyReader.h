// KEY lines of an ITEM block: each names an item that is a right answer, or the right number.
#pragma once

namespace lorvenna {

class Item;

// One line holding "KEY"; false rejects it ("Bad KEY command %s in Item %s").
bool ReadKeyCommand(Item& item, const char* line);

} // namespace lorvenna

// The item type table: one keyword per item class.
#pragma once

#include <memory>
#include <string_view>

namespace lorvenna {

class Item;

// The item of the type named by keyword (case ignored), or nullptr for an unknown keyword.
std::unique_ptr<Item> makeItem(std::string_view keyword);

} // namespace lorvenna

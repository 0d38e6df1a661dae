// The item type table: the keyword of an ITEM line picks the class of the item.
#include "items/ItemTypes.h"

#include "platform/IgnoreCase.h"
#include "items/Item.h"
#include "items/types/ItemButton.h"
#include "items/types/ItemEdit.h"
#include "items/types/ItemLabel.h"
#include "items/types/ItemText.h"

namespace lorvenna {

namespace {

template <typename T> std::unique_ptr<Item> make() {
    return std::make_unique<T>();
}

// An item type whose class is not built yet: a plain Item carrying the type's code, so that
// blocks of every type already read. It draws nothing and ignores input.
template <ItemType code> std::unique_ptr<Item> makePlain() {
    auto item = std::make_unique<Item>();
    item->type = static_cast<std::int32_t>(code);
    return item;
}

struct TypeEntry {
    std::string_view keyword;
    std::unique_ptr<Item> (*factory)();
};

constexpr TypeEntry kItemTypes[] = {
    // The pictures, highlighters, sliders, timers, moving figures, zones and image selectors
    // are built as plain items until their own classes (ItemBMP, ItemHighlighter, ItemSlider,
    // ItemTimer, ItemAni, ItemZone, ItemImsel) replace these rows.
    {"BMP", makePlain<ItemType::Bmp>},
    {"TEXT", make<ItemText>},
    {"LABEL", make<ItemLabel>},
    {"EDIT", make<ItemEdit>},
    {"BUTTON", make<ItemButton>},
    {"HIGHLIGHTER", makePlain<ItemType::Highlighter>},
    {"SLIDER", makePlain<ItemType::Slider>},
    {"TIMER", makePlain<ItemType::Timer>},
    {"ANI", makePlain<ItemType::Ani>},
    {"ZONE", makePlain<ItemType::Zone>},
    {"IMSEL", makePlain<ItemType::Imsel>},
};

} // namespace

std::unique_ptr<Item> makeItem(std::string_view keyword) {
    for (const TypeEntry& entry : kItemTypes) {
        if (equalsIgnoringCase(entry.keyword, keyword))
            return entry.factory();
    }
    return nullptr;
}

} // namespace lorvenna

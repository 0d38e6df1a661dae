// The item type table: the keyword of an ITEM line picks the class of the item.
#include "items/ItemTypes.h"

#include "items/Item.h"
#include "items/types/ItemAni.h"
#include "items/types/ItemBMP.h"
#include "items/types/ItemButton.h"
#include "items/types/ItemEdit.h"
#include "items/types/ItemHighlighter.h"
#include "items/types/ItemImsel.h"
#include "items/types/ItemLabel.h"
#include "items/types/ItemSlider.h"
#include "items/types/ItemText.h"
#include "items/types/ItemTimer.h"
#include "items/types/ItemZone.h"
#include "platform/IgnoreCase.h"

namespace lorvenna {

namespace {

template <typename T> std::unique_ptr<Item> make() {
    return std::make_unique<T>();
}

struct TypeEntry {
    std::string_view keyword;
    std::unique_ptr<Item> (*factory)();
};

constexpr TypeEntry kItemTypes[] = {
    {"BMP", make<lorvenna::ItemBMP>},
    {"TEXT", make<ItemText>},
    {"LABEL", make<ItemLabel>},
    {"EDIT", make<ItemEdit>},
    {"BUTTON", make<ItemButton>},
    {"HIGHLIGHTER", make<lorvenna::ItemHighlighter>},
    {"SLIDER", make<lorvenna::ItemSlider>},
    {"TIMER", make<lorvenna::ItemTimer>},
    {"ANI", make<lorvenna::ItemAni>},
    {"ZONE", make<lorvenna::ItemZone>},
    {"IMSEL", make<lorvenna::ItemImsel>},
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

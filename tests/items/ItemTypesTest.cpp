// The item type table.
#include "items/ItemTypes.h"

#include "items/Item.h"
#include "items/types/ItemButton.h"
#include "items/types/ItemEdit.h"
#include "items/types/ItemLabel.h"
#include "items/types/ItemText.h"

#include <gtest/gtest.h>

namespace lorvenna {

TEST(ItemTypes, EveryKeywordBuildsItsTypeIgnoringCase) {
    struct Case {
        const char* keyword;
        ItemType type;
    };
    const Case cases[] = {
        {"BMP", ItemType::Bmp},       {"text", ItemType::Text},
        {"Label", ItemType::Label},   {"EDIT", ItemType::Edit},
        {"button", ItemType::Button}, {"HighLighter", ItemType::Highlighter},
        {"SLIDER", ItemType::Slider}, {"timer", ItemType::Timer},
        {"ANI", ItemType::Ani},       {"zone", ItemType::Zone},
        {"IMSEL", ItemType::Imsel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword);
        std::unique_ptr<Item> item = makeItem(c.keyword);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isType(c.type));
    }
    EXPECT_NE(dynamic_cast<ItemText*>(makeItem("TEXT").get()), nullptr);
    EXPECT_NE(dynamic_cast<ItemLabel*>(makeItem("LABEL").get()), nullptr);
    EXPECT_NE(dynamic_cast<ItemEdit*>(makeItem("EDIT").get()), nullptr);
    EXPECT_NE(dynamic_cast<ItemButton*>(makeItem("BUTTON").get()), nullptr);
}

TEST(ItemTypes, UnknownKeywordBuildsNothing) {
    for (const char* keyword : {"", "TEXTS", "TEX", "PICTURE", "BMP "})
        EXPECT_EQ(makeItem(keyword), nullptr) << keyword;
}

} // namespace lorvenna

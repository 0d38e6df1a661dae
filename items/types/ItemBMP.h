// The BMP item: one picture from the picture folder, stretched into its place on a display.
#pragma once

#include "items/Item.h"
#include "platform/Picture.h"

namespace lorvenna {

// The picture is read from "BMPS\<text>.BMP" at the first page start of the item's life,
// decoded once a lesson and shared with the other items showing the same file; every repaint
// stretches the whole picture into the item's rectangle, which is clipped to the display
// (the picture is squeezed, not cropped). A picture never takes a
// click: its area stays 0. FLASH, HIDE and APPEAR show and hide it.
class ItemBMP : public Item {
public:
    ItemBMP();

    bool StartupAction() override;
    bool EndDefinition() override;
    void Draw() override;
    void Input(const char* name, double value, const Pose* motion) override;

    bool loaded() const { return !image.isNull(); }

    // The decoded picture; null until a load succeeds.
    Picture image;

private:
    bool load();
    void setGeometry();
};

} // namespace lorvenna

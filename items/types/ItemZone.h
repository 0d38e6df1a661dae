// The ZONE item: an invisible, clickable area of a picture outlined by its shapes.
#pragma once

#include "items/Item.h"

namespace lorvenna {

// Outside a question a click puts every other zone and label back to its initial visibility
// and sends 0 along the zone's outputs; during a question the click is the answer (KEYSHOW).
// With a BACKGROUND colour the zone can be filled, and FLASH makes it blink with a fill
// combined with what lies under it. The hit region is the outline as first drawn.
class ItemZone : public Item {
public:
    ItemZone();

    bool StartupAction() override;
    Shape* AddShape(double angle, double length, const char* kind) override;
    bool Click(Display* display, int message, int x, int y) override;
    std::int32_t HitTest(int x, int y) override;
    Status ReadCommand(const char* line) override;
    void Draw() override;
    void Input(const char* name, double value, const Pose* motion) override;
    bool PreProcessKey(KeyEntry& key) override;

    // The fill colour; only the low 8 bits of each component are used.
    std::int32_t backgroundRed = 0;
    std::int32_t backgroundGreen = 0;
    std::int32_t backgroundBlue = 0;

private:
    void resetZonesAndLabels();
};

// Zone modes: filled only once a BACKGROUND line gave the colour.
inline constexpr std::int32_t kZoneOutlineOnly = 0;
inline constexpr std::int32_t kZoneFilled = 1;

} // namespace lorvenna

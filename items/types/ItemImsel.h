// The IMSEL item: an invisible selector that shows one member of a series at a time.
#pragma once

#include "items/Item.h"

namespace lorvenna {

// Each OUTPUT connection is one member of the series, in line order. DELTA steps the
// selection (stopping at the ends, or going round with WRAP) and REQUESTSELECT sets it; the
// selected member is delivered 0 before and after every change, so members whose command
// toggles their target switch the old one off and the new one on.
class ItemImsel : public Item {
public:
    ItemImsel();

    bool StartupAction() override;
    Status ReadCommand(const char* line) override;
    void Input(const char* name, double value, const Pose* motion) override;

    // The selected member, counting from 1.
    std::int32_t selection = 0;

private:
    void deliver(std::int32_t member);
    void keepInRange();
    void showOnly(std::int32_t member);
};

// Imsel modes.
inline constexpr std::int32_t kImselStop = 0; // stepping stops at either end
inline constexpr std::int32_t kImselWrap = 1; // stepping past an end goes on at the other

} // namespace lorvenna

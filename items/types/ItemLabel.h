// The LABEL item: a framed caption with leader lines to the thing it names.
#pragma once

#include "items/Item.h"

namespace lorvenna {

// Label modes.
inline constexpr std::int32_t kLabelPlain = 0;
inline constexpr std::int32_t kLabelBlink = 1; // FLASH alternates the frame's colours
inline constexpr std::int32_t kLabelSeq = 2;   // FLASH shows the leader segments in turn

// The caption is framed and centred on the end of the shape that came last before its text
// lines (on its location when no shape came before). While a question is active every label
// shows "???" so that it gives no answer away.
class ItemLabel : public Item {
public:
    ItemLabel();

    bool StartupAction() override;
    void MakeRegion() override;
    bool Click(Display* display, int message, int x, int y) override;
    Status ReadCommand(const char* line) override;
    void Draw() override;
    void Input(const char* name, double value, const Pose* motion) override;

    // SEQ mode: the shape of the chain drawn at the next Draw; none outside SEQ mode.
    Shape* currentSegment = nullptr;

private:
    const char* shownText() const;
    void drawFrame(Point anchor, const char* shown);
};

// The frame's nominal width, before scaling.
inline constexpr int kLabelFrameWidth = 4;

} // namespace lorvenna

// The ANI item: a figure of shapes that moves, turns and stretches as values arrive.
#pragma once

#include "items/Connection.h"
#include "items/Item.h"

#include <memory>

namespace lorvenna {

// MOVE commands add up between repaints; each Draw applies them to the figure's pose, holds
// the pose within the PLUSRANGE and MINUSRANGE limits, draws the chain of shapes from the
// location, pulls the rubber band to its item and passes the latest MOVE value on along the
// figure's outputs. A hitched figure starts where the hitched item's drawing ended.
class ItemAni : public Item {
public:
    ItemAni();

    bool StartupAction() override;
    void DrawShapes() override;
    Status Connect() override;
    std::int32_t HitTest(int x, int y) override;
    std::int32_t HitTestRight(int x, int y) override;
    Status ReadCommand(const char* line) override;
    bool EndDefinition() override;
    void Draw() override;
    void Input(const char* name, double value, const Pose* motion) override;

    // Named references: only the target is used, nothing is ever sent along them.
    std::unique_ptr<Connection> rubberBand;
    std::unique_ptr<Connection> hitch;
    bool hitTestable = true;      // the figure answers HitTest
    bool rightHitTestable = true; // the figure answers HitTestRight
    double lastMove = 0.0;        // the latest MOVE value, passed on at every Draw

private:
    void accumulate(double value, const Pose* motion);
    void clampPose();
    void drawRubberBand();
};

} // namespace lorvenna

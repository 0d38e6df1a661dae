// Angle, length and position: used for poses, limits and motion.
#pragma once

namespace lorvenna {

struct Pose {
    bool enabled = false; // used only by the two limit records
    double angle = 0.0;   // degrees; 0 points right, 90 down
    double length = 0.0;  // already scaled
    double x = 0.0;       // already scaled
    double y = 0.0;       // already scaled
};

} // namespace lorvenna

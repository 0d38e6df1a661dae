// Angle, length and position: used for poses, limits and motion.
#pragma once

#include <cstdint>

namespace lorvenna {

struct Pose {
    std::int32_t enabled = 0; // used only by the two limit records
    double angle = 0.0;       // degrees; 0 points right, 90 down
    double length = 0.0;      // already scaled
    double x = 0.0;           // already scaled
    double y = 0.0;           // already scaled
};

} // namespace lorvenna

// The screen's scale and the reference-space conversions.
#include "platform/ScreenScale.h"

#include <numbers>

namespace lorvenna {

ScreenScale& screenScale() {
    static ScreenScale scale;
    return scale;
}

int scaleX(int x) {
    return static_cast<int>(x * screenScale().scaleX);
}
int scaleY(int y) {
    return static_cast<int>(y * screenScale().scaleY);
}
int scaleSize(int size) {
    return static_cast<int>(size * screenScale().scaleDiag);
}
double scaleX(double x) {
    return x * screenScale().scaleX;
}
double scaleY(double y) {
    return y * screenScale().scaleY;
}
double scaleSize(double size) {
    return size * screenScale().scaleDiag;
}
double degreesToRadians(double degrees) {
    return -degrees * 2.0 * std::numbers::pi / 360.0;
}
double radiansToDegrees(double radians) {
    return -radians * 360.0 / (2.0 * std::numbers::pi);
}

} // namespace lorvenna

// The screen's scale and the reference-space conversions.
#include "platform/ScreenScale.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lorvenna {

namespace {

// A window squeezed to almost nothing still shows a page that can be drawn.
constexpr double kSmallestScale = 0.1;

} // namespace

ScreenScale& screenScale() {
    static ScreenScale scale;
    return scale;
}

double fittingScale(int width, int height) {
    const double factor = std::min(static_cast<double>(width) / kPageWidth,
                                   static_cast<double>(height) / kPageHeight);
    return std::max(factor, kSmallestScale);
}

ScreenScale centredScale(double factor, int width, int height) {
    ScreenScale scale = screenScale();
    scale.scaleX = scale.scaleY = scale.scaleDiag = factor;
    scale.originX = std::max(0, (width - static_cast<int>(kPageWidth * factor)) / 2);
    scale.originY = std::max(0, (height - static_cast<int>(kPageHeight * factor)) / 2);
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

Rect scaleRect(const Rect& rect) {
    return Rect{scaleX(rect.left), scaleY(rect.top), scaleX(rect.right), scaleY(rect.bottom)};
}

Rect placeOnWindow(const Rect& rect) {
    const ScreenScale& scale = screenScale();
    Rect placed = scaleRect(rect);
    placed.left += scale.originX;
    placed.right += scale.originX;
    placed.top += scale.originY;
    placed.bottom += scale.originY;
    return placed;
}

Point unscalePoint(double x, double y) {
    const ScreenScale& scale = screenScale();
    // A hair over the exact quotient keeps a pixel at k * factor on unit k despite rounding.
    constexpr double kNudge = 1e-9;
    return Point{static_cast<int>(std::floor(x / scale.scaleX + kNudge)),
                 static_cast<int>(std::floor(y / scale.scaleY + kNudge))};
}

double degreesToRadians(double degrees) {
    return -degrees * 2.0 * std::numbers::pi / 360.0;
}
double radiansToDegrees(double radians) {
    return -radians * 360.0 / (2.0 * std::numbers::pi);
}

} // namespace lorvenna

// The reference space of a lesson (800 x 600) and the factors that take it to the screen.
#pragma once

#include <cstdint>

namespace lorvenna {

// Positions and sizes multiply by scaleX and scaleY, line widths, fonts and other sizes that
// have no direction by scaleDiag. 1.0 is the page as authored.
struct ScreenScale {
    double scaleX = 1.0;
    double scaleY = 1.0;
    double scaleDiag = 1.0;
    std::int32_t screenWidth = 800; // of the screen the main window is on, in pixels
};

// The scale of the screen the page is shown on: one for the process, set at start-up by the
// main window and read by everything that draws or hit-tests the page.
ScreenScale& screenScale();

// Conversions from the reference space; integer forms truncate toward zero.
int scaleX(int x);
int scaleY(int y);
int scaleSize(int size);
double scaleX(double x);
double scaleY(double y);
double scaleSize(double size);
double degreesToRadians(double degrees); // -d * 2 pi / 360
double radiansToDegrees(double radians); // -r * 360 / 2 pi

} // namespace lorvenna

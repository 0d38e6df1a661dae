// The reference space of a lesson (800 x 600) and the factors that take it to the screen.
#pragma once

#include "platform/Geometry.h"

namespace lorvenna {

// The page as authored: every position and size in a lesson is given in these units.
inline constexpr int kPageWidth = 800;
inline constexpr int kPageHeight = 600;

// Lessons, items, their outlines, regions and text layouts keep reference units; only the
// windows that show the page convert, through the helpers below, so that nothing is measured
// twice in different units: a click is taken back to reference units before it is hit-tested,
// and a text wraps where it wraps at 1.0. Positions and sizes multiply by scaleX and scaleY,
// line widths, fonts and other sizes that have no direction by scaleDiag; the three are one
// uniform factor. 1.0 is the page as authored.
struct ScreenScale {
    double scaleX = 1.0;
    double scaleY = 1.0;
    double scaleDiag = 1.0;
    // Where the page's top left corner lies in the main window, in window pixels.
    int originX = 0;
    int originY = 0;
};

// The scale of the screen the page is shown on: one for the process, set by the main window
// whenever its client area changes and read by the windows that show the page.
ScreenScale& screenScale();

// The largest uniform factor at which the page fits a client area of width x height: above
// 1.0 when there is room, below it only when the area is smaller than the page.
double fittingScale(int width, int height);
// A scale of factor with the page centred in a client area of width x height (at its top
// left corner where the page is the larger).
ScreenScale centredScale(double factor, int width, int height);

// Conversions from the reference space; integer forms truncate toward zero.
int scaleX(int x);
int scaleY(int y);
int scaleSize(int size);
double scaleX(double x);
double scaleY(double y);
double scaleSize(double size);
// A rectangle of the page in window pixels relative to the page's corner: each edge is
// converted on its own, so rectangles that touch on the page touch on the screen.
Rect scaleRect(const Rect& rect);
// The same rectangle placed in the main window (the page's origin added).
Rect placeOnWindow(const Rect& rect);
// A point of a window that shows the page (window pixels from its corner) in reference
// units, rounded down: the inverse of scaleX and scaleY for hit tests.
Point unscalePoint(double x, double y);

double degreesToRadians(double degrees); // -d * 2 pi / 360
double radiansToDegrees(double radians); // -r * 360 / 2 pi

} // namespace lorvenna

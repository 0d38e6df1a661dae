// Drawing services of the displays, and the status text and page strip of the main window.
#pragma once

#include "platform/Geometry.h"
#include "platform/Picture.h"

#include <string_view>

namespace lorvenna {

struct Display;
class Surface;

// Makes the display's surfaces once its window exists. The new window's picture is still to
// be drawn, so the display is marked for its first repaint.
void createDrawingSurfaces(Display* display);
// Redraws the display if it is marked as needing it.
void repaintDisplay(Display* display);
void markAndRepaint(Display* display);
// Marks and repaints every display of the page shown.
void markAllAndRepaint();
// Repaints (only the marked) displays of the page shown.
void repaintAllDisplays();

// The page markers for a screen width: the pictures of a page reached and of a page still
// ahead, both of one size.
struct PageMarkers {
    PictureId reached;
    PictureId ahead;
};
PageMarkers pageMarkers(int screenWidth);

// The status text and the page strip, drawn on the surface that shows the main window's
// status area; area is statusRect in that surface's coordinates. Nothing is drawn outside
// area.
void paintStatusText(Surface& surface, const Rect& area, std::string_view text);
// Draws the strip for currentPage and pageCount, spaced by the markers' size; nothing when
// currentPage is below 1.
void paintPageStrip(Surface& surface, const Rect& area, const Picture& reached,
                    const Picture& ahead);

} // namespace lorvenna

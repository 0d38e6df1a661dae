// The drawing surface the items draw on: a small interface over the platform's painter.
#pragma once

#include "platform/Geometry.h"

#include <string_view>

namespace lorvenna {

class Picture;
class Region;

// Text layout flags for drawText, after the platform's text drawing.
enum TextFlags : unsigned {
    TextLeft = 0,
    TextCenter = 1u << 0,     // centred horizontally in the rectangle
    TextWordBreak = 1u << 1,  // wrap at word boundaries inside the rectangle's width
    TextSingleLine = 1u << 2, // no wrapping, line breaks ignored
    TextCalcRect = 1u << 3,   // measure only: nothing is drawn
};

// Surfaces keep a current position, a selected pen (black, width 1, at first) and a brush
// (white at first). Text is drawn with the application's default font, black on an opaque
// white background.
class Surface {
public:
    virtual ~Surface() = default;

    virtual void moveTo(int x, int y) = 0;
    virtual Point currentPosition() const = 0;
    // Draws from the current position to (x, y) with the selected pen; the end becomes current.
    virtual void lineTo(int x, int y) = 0;
    // Selects a pen (nullptr selects the stock black pen) and returns the one it replaced.
    virtual const Pen* selectPen(const Pen* pen) = 0;
    // Outline with the selected pen, inside with the current brush.
    virtual void ellipse(const Rect& box) = 0;
    virtual void setBrush(Color color) = 0;
    virtual void roundRect(const Rect& box, int cornerWidth, int cornerHeight) = 0;
    virtual void fillRect(const Rect& box, Color color) = 0;

    // Draws (or with TextCalcRect only measures) text in box; returns the height of the text
    // and, when measuring, widens or narrows box to the extent of the laid-out text.
    virtual int drawText(std::string_view text, Rect& box, unsigned flags) = 0;
    // The extent of text as one line (line breaks are not interpreted).
    virtual Size measureText(std::string_view text) = 0;

    virtual void fillRegion(const Region& region, Color color) = 0;
    virtual void invertRegion(const Region& region) = 0;
    // Combines color with what the region shows: every pixel becomes NOT(pixel XOR color).
    virtual void fillRegionNotXor(const Region& region, Color color) = 0;

    // Copies a picture unchanged with its top left corner at (x, y).
    virtual void drawPicture(const Picture& picture, int x, int y) = 0;
    // Stretches the source rectangle of a picture into the destination rectangle.
    virtual void stretchPicture(const Picture& picture, const Rect& source, const Rect& dest) = 0;

    // Drawing between these calls may be held by the platform until the batch ends (batches
    // nest); what the surface shows is complete again after the last endBatch.
    virtual void beginBatch() {}
    virtual void endBatch() {}
};

} // namespace lorvenna

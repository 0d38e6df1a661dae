// A drawing surface over a QImage that it does not own: a display's picture or its overlay.
#pragma once

#include "platform/Surface.h"

#include <QFont>

#include <string>
#include <string_view>
#include <vector>

class QImage;
class QPainter;

namespace lorvenna {

// Draws without antialiasing and opens a painter for each operation only, so the image may
// be shown or copied between any two calls. An overlay surface is given the image it lies
// over, so that inverting shows the inverse of what the user sees there.
class QtSurface : public Surface {
public:
    explicit QtSurface(QImage* target, const QImage* under = nullptr);

    void moveTo(int x, int y) override;
    Point currentPosition() const override { return position_; }
    void lineTo(int x, int y) override;
    const Pen* selectPen(const Pen* pen) override;
    void ellipse(const Rect& box) override;
    void setBrush(Color color) override { brush_ = color; }
    void roundRect(const Rect& box, int cornerWidth, int cornerHeight) override;
    void fillRect(const Rect& box, Color color) override;

    int drawText(std::string_view text, Rect& box, unsigned flags) override;
    Size measureText(std::string_view text) override;

    void fillRegion(const Region& region, Color color) override;
    void invertRegion(const Region& region) override;

    void drawPicture(const Picture& picture, int x, int y) override;
    void stretchPicture(const Picture& picture, const Rect& source, const Rect& dest) override;

    const Pen* selectedPen() const { return pen_; }
    Color brush() const { return brush_; }

    // One laid-out line of text: its bytes and its offset and width in pixels.
    struct TextLine {
        std::string text;
        int x = 0;
        int width = 0;
    };
    // Lays text out in box as drawText does; the lines' x are relative to box.left.
    std::vector<TextLine> layOutText(std::string_view text, int boxWidth, unsigned flags) const;
    int lineHeight() const;

private:
    void setUpPainter(QPainter& painter) const;
    // The current pen for the outline and the current brush inside it.
    void setUpFilledOutline(QPainter& painter) const;
    int textWidth(std::string_view text) const;

    QImage* target_;
    const QImage* under_;
    Point position_;
    const Pen* pen_ = nullptr; // nullptr: the stock black pen of width 1
    Color brush_{255, 255, 255};
    QFont font_;
};

} // namespace lorvenna

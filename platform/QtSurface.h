// A drawing surface over a QImage that it does not own: a display's picture or its overlay.
#pragma once

#include "platform/Surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace lorvenna {

// Draws without antialiasing. Coordinates are page units; the image may hold more pixels
// than units (a page scaled to its window, a screen of high pixel density): setScale gives the
// pixels per unit, and lines, text, regions and pictures are then drawn at the image's own
// resolution, pictures smoothed. Text is laid out in page units whatever the scale, so it
// wraps at the same words at every scale. Outside a batch it opens a painter for each operation
// only, so the image may be shown or copied between any two calls; inside one (a display's repaint)
// it keeps one painter open until the batch ends. An overlay surface is given the image it lies
// over, so that inverting shows the inverse of what the user sees there.
class QtSurface : public Surface {
public:
    explicit QtSurface(QImage* target, const QImage* under = nullptr);
    ~QtSurface() override;
    QtSurface(const QtSurface&) = delete;
    QtSurface& operator=(const QtSurface&) = delete;

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
    void fillRegionNotXor(const Region& region, Color color) override;

    void drawPicture(const Picture& picture, int x, int y) override;
    void stretchPicture(const Picture& picture, const Rect& source, const Rect& dest) override;

    void beginBatch() override;
    void endBatch() override;

    // A surface that keeps its picture from one batch to the next (a display's, which every
    // repaint draws whole) holds a batch's drawing until it ends, and then draws only the
    // pixels where it differs from the batch before: a repaint that draws what the last one
    // drew leaves the picture as it is, whatever its size. Pixels come out exactly as if the
    // whole batch had been drawn, provided every batch starts by covering the picture (a
    // display's repaint fills it white first), so that none depends on what the one before
    // left. Drawing outside a batch, a new scale, or a picture changed by others makes the
    // next batch draw everything.
    void setRetained(bool retained);
    void forgetFrame();
    // The image pixels the last retained batch drew (empty when nothing differed).
    QRect lastDamage() const { return lastDamage_; }

    // Image pixels per page unit (1.0 at first). Layouts, positions and regions stay in page
    // units.
    void setScale(double pixelsPerUnit);

    // Called before pixels are drawn on the image, to make it ready: an overlay that costs a
    // picture's memory only while something is drawn on it is made as large there.
    void setBeforeDrawing(std::function<void()> prepare) { beforeDrawing_ = std::move(prepare); }

    // Whether anything was drawn since the image was last known blank (markBlank): an overlay
    // nothing was drawn on needs neither clearing nor laying over the picture.
    bool drawnOn() const { return drawnOn_; }
    void markBlank() { drawnOn_ = false; }

    const Pen* selectedPen() const { return pen_; }
    Color brush() const { return brush_; }

    // One laid-out line of text: its bytes and its offset and width in pixels.
    struct TextLine {
        std::string text;
        int x = 0;
        int width = 0;
        // The line as drawn (its white box and its ink, clear around them) and where that
        // picture's corner lies from the box's; made when the line is first drawn.
        QImage picture;
        QPoint offset;
        bool rendered = false;
    };
    // Lays text out in box as drawText does; the lines' x are relative to box.left.
    std::vector<TextLine> layOutText(std::string_view text, int boxWidth, unsigned flags) const;
    int lineHeight() const;

private:
    // One drawing operation of a batch, with the state it was drawn in, as recorded by a
    // retained surface.
    struct DrawOp {
        enum class Kind : unsigned char {
            Line,
            Ellipse,
            RoundRect,
            FillRect,
            TextLine,
            FillRegion,
            InvertRegion,
            NotXorRegion,
            Picture,
            Stretch,
        };
        Kind kind = Kind::FillRect;
        Rect box;    // a line runs from (left, top) to (right, bottom); a stretch's destination
        Rect source; // a stretch's source; a round rectangle's corners in its left and top
        bool stockPen = true;
        Pen pen;
        Color color; // the fill, or the brush of an outlined shape
        QRegion region;
        QImage image;         // a picture's pixels, or a line of text as drawn (until drawn)
        qint64 imageKey = 0;  // which pixels those are: QImage keys are never reused
        QPoint at;    // where a line's picture lies, in image pixels
        QRect bounds; // the image pixels the operation may change
    };
    static bool sameDrawing(const DrawOp& a, const DrawOp& b);
    bool recording() const { return retained_ && batchDepth_ > 0 && !replaying_; }
    void record(DrawOp op);
    // The pixels of a rectangle of units, grown by some pixels, within the image.
    QRect pixelsOf(double left, double top, double right, double bottom, double grow) const;
    double penGrowth() const;
    void commitFrame();
    bool exactWhenCut(const DrawOp& op) const;
    // The damage grown to hold whole every operation that a clip would draw otherwise.
    QRect wholeShapesIn(QRect damage) const;
    void play(const DrawOp& op);

    // A painter ready for drawing (hints and font set): the batch's, or one of its own.
    class PainterScope;
    void setUpPainter(QPainter& painter) const;
    void closeBatchPainter();
    int textWidth(std::string_view text) const;
    void render(TextLine& line) const;
    bool scaled() const { return scale_ != 1.0; }
    // A rectangle of page units as the image pixels it covers.
    QRect toImageRect(const QRect& rect) const;
    void updateFontKey();
    // A width no more than a pixel or two off textWidth, from the widths of the characters.
    int estimatedWidth(std::string_view text) const;
    // The end of the line that starts at pos of the paragraph when wrapped at boxWidth.
    // Its exact width (less trailing blanks) goes to lineWidth.
    std::size_t wrappedLineEnd(std::string_view paragraph, std::size_t pos, int boxWidth,
                               int& lineWidth) const;
    // The layout of text, made once for each font, text, width and flags.
    std::vector<TextLine>& cachedLayout(std::string_view text, int boxWidth, unsigned flags);
    void paintRegion(const QRegion& region, Color color);
    void recordRegion(DrawOp::Kind kind, const Region& region, Color color);
    // Replaces every pixel of the region by combine(the colour the user sees there).
    template <typename Combine> void combineRegion(const QRegion& region, Combine combine);

    QImage* target_;
    const QImage* under_;
    Point position_;
    const Pen* pen_ = nullptr; // nullptr: the stock black pen of width 1
    Color brush_{255, 255, 255};
    QFont font_;
    QFontMetrics metrics_;
    mutable std::array<int, 256> charWidths_; // -1: not measured yet
    std::string fontKey_;
    double scale_ = 1.0;
    int batchDepth_ = 0;
    std::unique_ptr<QPainter> batchPainter_;
    bool drawnOn_ = false;
    std::function<void()> beforeDrawing_;

    bool retained_ = false;
    bool replaying_ = false;
    bool frameKnown_ = false; // lastFrame_ is what the image shows
    std::vector<DrawOp> frame_;
    std::vector<DrawOp> lastFrame_;
    QRect clip_; // while replaying: the pixels drawn again
    qint64 frameKey_ = 0; // the image's key when the last batch was drawn
    QRect lastDamage_;
};

} // namespace lorvenna

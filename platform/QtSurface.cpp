// Drawing on a QImage: lines, ellipses, rectangles, text, regions and pictures.
#include "platform/QtSurface.h"

#include "platform/Picture.h"
#include "platform/QtText.h"
#include "platform/Region.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>

namespace lorvenna {

namespace {

QColor toQColor(Color c) {
    return QColor(c.r, c.g, c.b);
}

QPen qpenFor(const Pen* pen, bool scaled) {
    // Scaled, a line of width 1 is one unit wide, as many pixels as the unit has.
    if (scaled) {
        const int width = pen ? std::max(1, pen->width) : 1;
        const QColor color = pen ? toQColor(pen->color) : QColor(Qt::black);
        const bool square = pen && pen->squareCaps;
        return QPen(color, width, Qt::SolidLine, square ? Qt::SquareCap : Qt::RoundCap,
                    Qt::RoundJoin);
    }
    if (!pen)
        return QPen(Qt::black, 0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    // Widths 0 and 1 are the thin pen of one pixel whatever the scaling.
    const int width = pen->width <= 1 ? 0 : pen->width;
    return QPen(toQColor(pen->color), width, Qt::SolidLine,
                pen->squareCaps ? Qt::SquareCap : Qt::RoundCap, Qt::RoundJoin);
}

// The outline rectangle of a box whose right and bottom edges lie outside it: a one-pixel
// outline then covers left..right-1 and top..bottom-1.
QRect outlineRect(const Rect& box) {
    return QRect(box.left, box.top, box.width() - 1, box.height() - 1);
}

// Scaled, the pen runs through the middle of the units it covers: unit k spans k to k + 1.
constexpr double kUnitCentre = 0.5;

QRectF scaledOutlineRect(const Rect& box) {
    return QRectF(box.left + kUnitCentre, box.top + kUnitCentre, box.width() - 1.0,
                  box.height() - 1.0);
}

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// Splits text at its line breaks: a CR LF pair is one break, a lone CR or LF another. A break
// at the very end starts no further line.
std::vector<std::string_view> paragraphsOf(std::string_view text) {
    std::vector<std::string_view> paragraphs;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isLineBreak(text[i])) {
            ++i;
            continue;
        }
        paragraphs.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = ++i;
    }
    if (start < text.size())
        paragraphs.push_back(text.substr(start));
    return paragraphs;
}

std::string_view trimTrailingBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

QRgb invertedColour(QRgb seen) {
    return qRgb(255 - qRed(seen), 255 - qGreen(seen), 255 - qBlue(seen));
}

auto notXorWith(Color color) {
    return [color](QRgb seen) {
        return qRgb(255 - (qRed(seen) ^ color.r), 255 - (qGreen(seen) ^ color.g),
                    255 - (qBlue(seen) ^ color.b));
    };
}

// Crisp black text, without grey edges, like everything else on the surface.
QFont bitmapFont() {
    QFont font = QGuiApplication::font();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

// The painter of the batch (opened on first use) or, outside a batch, one of its own.
class QtSurface::PainterScope {
public:
    explicit PainterScope(QtSurface& surface) {
        if (surface.beforeDrawing_ && !surface.batchPainter_)
            surface.beforeDrawing_();
        surface.drawnOn_ = true;
        if (surface.batchDepth_ == 0) {
            own_.emplace(surface.target_);
            surface.setUpPainter(*own_);
            painter_ = &*own_;
            return;
        }
        if (!surface.batchPainter_) {
            surface.batchPainter_ = std::make_unique<QPainter>(surface.target_);
            // Set before the scale: the clip is in pixels.
            if (surface.replaying_)
                surface.batchPainter_->setClipRect(surface.clip_);
            surface.setUpPainter(*surface.batchPainter_);
        }
        painter_ = surface.batchPainter_.get();
    }
    QPainter* operator->() { return painter_; }

private:
    std::optional<QPainter> own_;
    QPainter* painter_ = nullptr;
};

QtSurface::QtSurface(QImage* target, const QImage* under)
    : target_(target), under_(under), font_(bitmapFont()), metrics_(font_, target) {
    charWidths_.fill(-1);
    updateFontKey();
}

void QtSurface::updateFontKey() {
    // Layouts and the pictures of their lines are shared by surfaces of the same font at the
    // same resolution and scale.
    fontKey_ = font_.key().toStdString() + '@' +
               std::to_string(target_ ? target_->logicalDpiX() : 0) + 'x' +
               std::to_string(target_ ? target_->logicalDpiY() : 0) + '*' + std::to_string(scale_);
}

void QtSurface::setScale(double pixelsPerUnit) {
    if (!(pixelsPerUnit > 0.0) || pixelsPerUnit == scale_)
        return;
    closeBatchPainter();
    scale_ = pixelsPerUnit;
    updateFontKey();
    forgetFrame();
}

namespace {

// The smallest rectangle holding every pixel of rows first to last that is not clear; a null
// one when there is none. Each row is looked at from both ends, up to its first ink.
QRect inkedPixels(const QImage& picture, int first, int last) {
    const int width = picture.width();
    int left = width;
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = std::max(0, first); y <= last && y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        int start = 0;
        while (start < width && qAlpha(row[start]) == 0)
            ++start;
        if (start == width)
            continue;
        int end = width - 1;
        while (qAlpha(row[end]) == 0)
            --end;
        left = std::min(left, start);
        right = std::max(right, end);
        top = top < 0 ? y : top;
        bottom = y;
    }
    if (right < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

bool isOpaque(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(row[x]) != 255)
                return false;
        }
    }
    return true;
}

} // namespace

QRect QtSurface::toImageRect(const QRect& rect) const {
    if (!scaled())
        return rect;
    const auto at = [this](int units) { return static_cast<int>(std::lround(units * scale_)); };
    const int left = at(rect.left());
    const int top = at(rect.top());
    return QRect(left, top, at(rect.left() + rect.width()) - left,
                 at(rect.top() + rect.height()) - top);
}

QtSurface::~QtSurface() {
    closeBatchPainter();
}

void QtSurface::beginBatch() {
    ++batchDepth_;
}

void QtSurface::endBatch() {
    if (batchDepth_ == 0)
        return;
    if (--batchDepth_ > 0)
        return;
    closeBatchPainter();
    if (retained_)
        commitFrame();
}

void QtSurface::setRetained(bool retained) {
    retained_ = retained;
    frame_.clear();
    forgetFrame();
}

void QtSurface::forgetFrame() {
    frameKnown_ = false;
    lastFrame_.clear();
}

void QtSurface::record(DrawOp op) {
    drawnOn_ = true;
    op.imageKey = op.image.cacheKey();
    op.stockPen = pen_ == nullptr;
    if (pen_)
        op.pen = *pen_;
    frame_.push_back(std::move(op));
}

QRect QtSurface::pixelsOf(double left, double top, double right, double bottom, double grow) const {
    // Kept within a pixel of the image, so that far-off units make no overflow.
    const auto within = [](double pixels, int size) {
        return std::clamp(pixels, -1.0, static_cast<double>(size) + 1.0);
    };
    const double l = within(std::floor(left * scale_ - grow), target_->width());
    const double t = within(std::floor(top * scale_ - grow), target_->height());
    const double r = within(std::ceil(right * scale_ + grow), target_->width());
    const double b = within(std::ceil(bottom * scale_ + grow), target_->height());
    if (!(r > l && b > t))
        return {};
    return QRect(QPoint(static_cast<int>(l), static_cast<int>(t)),
                 QPoint(static_cast<int>(r) - 1, static_cast<int>(b) - 1)) &
           target_->rect();
}

// A pen's width on either side of its line, and a pixel or two for rounding.
double QtSurface::penGrowth() const {
    const double width = pen_ ? std::max(1, pen_->width) : 1;
    return width * std::max(1.0, scale_) + 2.0;
}

bool QtSurface::sameDrawing(const DrawOp& a, const DrawOp& b) {
    return a.kind == b.kind && a.box == b.box && a.source == b.source && a.color == b.color &&
           a.stockPen == b.stockPen && (a.stockPen || a.pen == b.pen) && a.at == b.at &&
           a.imageKey == b.imageKey && a.region == b.region;
}

void QtSurface::commitFrame() {
    // Every pixel is the work of the operations that touch it, in their order. Where no
    // operation differs from the last batch's, the pixel the last batch left is the one this
    // batch would draw; elsewhere the whole batch is drawn again, clipped to those pixels.
    if (!target_ || target_->isNull()) {
        frame_.clear();
        forgetFrame();
        return;
    }
    // The image changed since (a new one, or drawn on outside a batch, by this surface or
    // others): it holds no known frame.
    if (frameKnown_ && target_->cacheKey() != frameKey_)
        forgetFrame();
    QRect damage;
    if (!frameKnown_) {
        damage = target_->rect();
    } else if (frame_.size() == lastFrame_.size()) {
        for (std::size_t i = 0; i < frame_.size(); ++i) {
            if (!sameDrawing(frame_[i], lastFrame_[i]))
                damage |= frame_[i].bounds | lastFrame_[i].bounds;
        }
    } else {
        // Something appeared or went away: what lies between the common beginning and the
        // common end differs.
        std::size_t head = 0;
        const std::size_t shorter = std::min(frame_.size(), lastFrame_.size());
        while (head < shorter && sameDrawing(frame_[head], lastFrame_[head]))
            ++head;
        std::size_t tail = 0;
        while (tail < shorter - head && sameDrawing(frame_[frame_.size() - 1 - tail],
                                                    lastFrame_[lastFrame_.size() - 1 - tail]))
            ++tail;
        for (std::size_t i = head; i < frame_.size() - tail; ++i)
            damage |= frame_[i].bounds;
        for (std::size_t i = head; i < lastFrame_.size() - tail; ++i)
            damage |= lastFrame_[i].bounds;
    }
    damage &= target_->rect();
    damage = wholeShapesIn(damage);
    lastDamage_ = damage;

    if (!damage.isEmpty()) {
        const Point position = position_;
        const Pen* pen = pen_;
        const Color brush = brush_;
        replaying_ = true;
        clip_ = damage;
        ++batchDepth_;
        // What lies wholly outside the damage changes none of its pixels.
        for (const DrawOp& op : frame_) {
            if (op.bounds.intersects(damage))
                play(op);
        }
        closeBatchPainter();
        --batchDepth_;
        replaying_ = false;
        position_ = position;
        pen_ = pen;
        brush_ = brush;
    }
    // What was drawn is known by its keys: its pictures are not held for the next comparison.
    for (DrawOp& op : frame_)
        op.image = QImage();
    lastFrame_.swap(frame_);
    frame_.clear();
    frameKnown_ = true;
    frameKey_ = target_->cacheKey();
}

// Fills, text and pictures laid pixel for pixel come out the same whether or not a clip cuts
// them. A line, an outline or a picture smoothed to another size does not: its pixels are
// worked out from where the drawing starts, which a clip moves.
bool QtSurface::exactWhenCut(const DrawOp& op) const {
    using Kind = DrawOp::Kind;
    switch (op.kind) {
    case Kind::FillRect:
    case Kind::TextLine:
    case Kind::FillRegion:
    case Kind::InvertRegion:
    case Kind::NotXorRegion:
        return true;
    case Kind::Picture:
        return !scaled();
    case Kind::Line:
    case Kind::Ellipse:
    case Kind::RoundRect:
    case Kind::Stretch:
        return false;
    }
    return false;
}

QRect QtSurface::wholeShapesIn(QRect damage) const {
    // Grown until every shape that reaches into it lies wholly inside; a chain of shapes that
    // keeps it growing ends with the whole picture.
    constexpr int kRounds = 8;
    for (int round = 0; round < kRounds; ++round) {
        const QRect before = damage;
        for (const DrawOp& op : frame_) {
            if (!exactWhenCut(op) && op.bounds.intersects(damage))
                damage |= op.bounds;
        }
        if (damage == before)
            return damage;
    }
    return target_->rect();
}

void QtSurface::play(const DrawOp& op) {
    using Kind = DrawOp::Kind;
    pen_ = op.stockPen ? nullptr : &op.pen;
    switch (op.kind) {
    case Kind::Line:
        position_ = Point{op.box.left, op.box.top};
        lineTo(op.box.right, op.box.bottom);
        return;
    case Kind::Ellipse:
        brush_ = op.color;
        ellipse(op.box);
        return;
    case Kind::RoundRect:
        brush_ = op.color;
        roundRect(op.box, op.source.left, op.source.top);
        return;
    case Kind::FillRect:
        fillRect(op.box, op.color);
        return;
    case Kind::TextLine: {
        // The line's picture is made at the image's resolution: laid on its pixels.
        PainterScope painter(*this);
        if (!scaled()) {
            painter->drawImage(op.at, op.image);
            return;
        }
        painter->setWorldTransform(QTransform());
        painter->drawImage(op.at, op.image);
        painter->setWorldTransform(QTransform::fromScale(scale_, scale_));
        return;
    }
    case Kind::FillRegion:
        paintRegion(op.region, op.color);
        return;
    case Kind::InvertRegion:
        combineRegion(op.region, invertedColour);
        return;
    case Kind::NotXorRegion:
        combineRegion(op.region, notXorWith(op.color));
        return;
    case Kind::Picture: {
        PainterScope painter(*this);
        painter->drawImage(QPoint(op.box.left, op.box.top), op.image);
        return;
    }
    case Kind::Stretch: {
        PainterScope painter(*this);
        painter->drawImage(
            QRect(op.box.left, op.box.top, op.box.width(), op.box.height()), op.image,
            QRect(op.source.left, op.source.top, op.source.width(), op.source.height()));
        return;
    }
    }
}

void QtSurface::closeBatchPainter() {
    if (batchPainter_)
        batchPainter_->end();
    batchPainter_.reset();
}

void QtSurface::setUpPainter(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scaled());
    painter.setFont(font_);
    if (scaled())
        painter.scale(scale_, scale_);
}

void QtSurface::moveTo(int x, int y) {
    position_ = Point{x, y};
}

void QtSurface::lineTo(int x, int y) {
    const Point from = position_;
    position_ = Point{x, y};
    if (!target_ || target_->isNull())
        return;
    if (recording()) {
        DrawOp op;
        op.kind = DrawOp::Kind::Line;
        op.box = Rect{from.x, from.y, x, y};
        op.bounds = pixelsOf(std::min(from.x, x), std::min(from.y, y), std::max(from.x, x) + 1.0,
                             std::max(from.y, y) + 1.0, penGrowth());
        record(std::move(op));
        return;
    }
    PainterScope painter(*this);
    painter->setPen(qpenFor(pen_, scaled()));
    if (scaled()) {
        painter->drawLine(QPointF(from.x + kUnitCentre, from.y + kUnitCentre),
                          QPointF(x + kUnitCentre, y + kUnitCentre));
        return;
    }
    painter->drawLine(QPoint(from.x, from.y), QPoint(x, y));
}

const Pen* QtSurface::selectPen(const Pen* pen) {
    const Pen* previous = pen_;
    pen_ = pen;
    return previous;
}

void QtSurface::ellipse(const Rect& box) {
    if (!target_ || target_->isNull() || box.width() <= 0 || box.height() <= 0)
        return;
    if (recording()) {
        DrawOp op;
        op.kind = DrawOp::Kind::Ellipse;
        op.box = box;
        op.color = brush_;
        op.bounds = pixelsOf(box.left, box.top, box.right, box.bottom, penGrowth());
        record(std::move(op));
        return;
    }
    PainterScope painter(*this);
    painter->setPen(qpenFor(pen_, scaled()));
    painter->setBrush(toQColor(brush_));
    if (scaled())
        painter->drawEllipse(scaledOutlineRect(box));
    else
        painter->drawEllipse(outlineRect(box));
}

void QtSurface::roundRect(const Rect& box, int cornerWidth, int cornerHeight) {
    if (!target_ || target_->isNull() || box.width() <= 0 || box.height() <= 0)
        return;
    if (recording()) {
        DrawOp op;
        op.kind = DrawOp::Kind::RoundRect;
        op.box = box;
        op.source = Rect{cornerWidth, cornerHeight, 0, 0};
        op.color = brush_;
        op.bounds = pixelsOf(box.left, box.top, box.right, box.bottom, penGrowth());
        record(std::move(op));
        return;
    }
    PainterScope painter(*this);
    painter->setPen(qpenFor(pen_, scaled()));
    painter->setBrush(toQColor(brush_));
    // The corners are given as the size of the ellipse that rounds them; Qt wants radii.
    const double rx = std::max(0, cornerWidth) / 2.0;
    const double ry = std::max(0, cornerHeight) / 2.0;
    if (scaled())
        painter->drawRoundedRect(scaledOutlineRect(box), rx, ry, Qt::AbsoluteSize);
    else
        painter->drawRoundedRect(outlineRect(box), rx, ry, Qt::AbsoluteSize);
}

void QtSurface::fillRect(const Rect& box, Color color) {
    if (!target_ || target_->isNull() || box.width() <= 0 || box.height() <= 0)
        return;
    if (recording()) {
        DrawOp op;
        op.kind = DrawOp::Kind::FillRect;
        op.box = box;
        op.color = color;
        op.bounds = pixelsOf(box.left, box.top, box.right, box.bottom, 1.0);
        record(std::move(op));
        return;
    }
    PainterScope painter(*this);
    painter->fillRect(QRect(box.left, box.top, box.width(), box.height()), toQColor(color));
}

int QtSurface::lineHeight() const {
    return metrics_.height();
}

int QtSurface::textWidth(std::string_view text) const {
    if (text.empty())
        return 0;
    return metrics_.horizontalAdvance(toQString(text));
}

int QtSurface::estimatedWidth(std::string_view text) const {
    int width = 0;
    for (char c : text) {
        int& known = charWidths_[static_cast<unsigned char>(c)];
        if (known < 0)
            known = metrics_.horizontalAdvance(QChar(static_cast<unsigned char>(c)));
        width += known;
    }
    return width;
}

std::size_t QtSurface::wrappedLineEnd(std::string_view paragraph, std::size_t pos, int boxWidth,
                                      int& lineWidth) const {
    // The line takes the first word whatever its width, then every further word (with the
    // blanks before it) while the line, less its trailing blanks, fits the box. Measuring
    // the line again for every word would take time in the square of its length: the widths
    // of the characters point at the break, and exact measures confirm or move it.
    auto nextEnd = [&](std::size_t at) {
        while (at < paragraph.size() && paragraph[at] == ' ')
            ++at;
        while (at < paragraph.size() && paragraph[at] != ' ')
            ++at;
        return at;
    };
    auto widthTo = [&](std::size_t end) {
        return textWidth(trimTrailingBlanks(paragraph.substr(pos, end - pos)));
    };

    std::vector<std::size_t> ends{nextEnd(pos)};
    int estimate = estimatedWidth(paragraph.substr(pos, ends.back() - pos));
    while (ends.back() < paragraph.size()) {
        const std::size_t next = nextEnd(ends.back());
        const int more = estimatedWidth(paragraph.substr(ends.back(), next - ends.back()));
        if (estimate + more > boxWidth)
            break;
        estimate += more;
        ends.push_back(next);
    }
    lineWidth = widthTo(ends.back());
    while (ends.size() > 1 && lineWidth > boxWidth) {
        ends.pop_back();
        lineWidth = widthTo(ends.back());
    }
    while (ends.back() < paragraph.size()) {
        const std::size_t next = nextEnd(ends.back());
        const int width = widthTo(next);
        if (width > boxWidth)
            break;
        ends.push_back(next);
        lineWidth = width;
    }
    return ends.back();
}

std::vector<QtSurface::TextLine> QtSurface::layOutText(std::string_view text, int boxWidth,
                                                       unsigned flags) const {
    std::vector<TextLine> lines;
    auto addLine = [&](std::string_view bytes, int width = -1) {
        TextLine line;
        line.text = std::string(bytes);
        line.width = width >= 0 ? width : textWidth(bytes);
        if (flags & TextCenter)
            line.x = (boxWidth - line.width) / 2;
        lines.push_back(std::move(line));
    };

    if (flags & TextSingleLine) {
        // Line breaks are not obeyed on a single line; they are left out.
        std::string joined;
        for (char c : text) {
            if (!isLineBreak(c))
                joined += c;
        }
        if (!joined.empty())
            addLine(joined);
        return lines;
    }

    for (std::string_view paragraph : paragraphsOf(text)) {
        if (!(flags & TextWordBreak)) {
            addLine(paragraph);
            continue;
        }
        // Greedy breaking between words; a word wider than the box keeps a line to itself
        // and runs past the edge, and the blanks where a line breaks are dropped.
        std::size_t pos = 0;
        if (paragraph.empty())
            addLine(paragraph);
        while (pos < paragraph.size()) {
            int width = 0;
            const std::size_t lineEnd = wrappedLineEnd(paragraph, pos, boxWidth, width);
            addLine(trimTrailingBlanks(paragraph.substr(pos, lineEnd - pos)), width);
            pos = lineEnd;
            while (pos < paragraph.size() && paragraph[pos] == ' ')
                ++pos;
        }
    }
    return lines;
}

int QtSurface::drawText(std::string_view text, Rect& box, unsigned flags) {
    // An empty text still has the height of a line, as the platform's text drawing reports;
    // measured, it spans no width, and a line's height only when it is a single line.
    if (text.empty()) {
        const int height = lineHeight();
        if (flags & TextCalcRect) {
            box.right = box.left;
            box.bottom = box.top + ((flags & TextSingleLine) ? height : 0);
        }
        return height;
    }
    std::vector<TextLine>& lines = cachedLayout(text, box.width(), flags);
    const int height = lineHeight();
    const int total = static_cast<int>(lines.size()) * height;

    if (flags & TextCalcRect) {
        int widest = 0;
        for (const TextLine& line : lines)
            widest = std::max(widest, line.width);
        box.right = box.left + widest;
        box.bottom = box.top + total;
        return total;
    }
    if (!target_ || target_->isNull() || lines.empty())
        return total;
    if (recording()) {
        int y = box.top;
        for (TextLine& line : lines) {
            render(line);
            if (!line.picture.isNull()) {
                DrawOp op;
                op.kind = DrawOp::Kind::TextLine;
                op.image = line.picture;
                op.at = toImageRect(QRect(box.left + line.x, y, 0, 0)).topLeft() + line.offset;
                op.bounds = QRect(op.at, op.image.size()).adjusted(-1, -1, 1, 1) & target_->rect();
                record(std::move(op));
            }
            y += height;
        }
        return total;
    }

    // Black text on an opaque white background behind each line, not clipped to the box.
    PainterScope painter(*this);
    painter->setPen(Qt::black);
    int y = box.top;
    // Scaled, the lines' pictures are made at the image's resolution and laid on its pixels.
    if (scaled()) {
        painter->save();
        painter->resetTransform();
    }
    for (TextLine& line : lines) {
        const int x = box.left + line.x;
        // Text is drawn without antialiasing: every pixel of the line's picture is either
        // opaque or clear, so laying the picture over is the same as drawing the line.
        render(line);
        if (!line.picture.isNull())
            painter->drawImage(toImageRect(QRect(x, y, 0, 0)).topLeft() + line.offset,
                               line.picture);
        y += height;
    }
    if (scaled())
        painter->restore();
    return total;
}

namespace {

// Layouts by font, text, width and flags, shared by every surface: turning back to a page
// finds its texts laid out already. Cleared when it grows past what many pages need.
std::unordered_map<std::string, std::vector<QtSurface::TextLine>>& layoutCache() {
    static std::unordered_map<std::string, std::vector<QtSurface::TextLine>> cache;
    return cache;
}
constexpr std::size_t kCachedLayouts = 8192;
// The pictures of the lines drawn are kept with their layouts up to this many bytes at a scale
// of 1; a page drawn larger keeps as many lines in pictures of more pixels.
constexpr std::size_t kCachedPictureBytes = 12u << 20;

std::size_t& cachedPictureBytes() {
    static std::size_t bytes = 0;
    return bytes;
}

std::string layoutKey(const std::string& font, std::string_view text, int boxWidth,
                      unsigned flags) {
    std::string key = font;
    key += '\n' + std::to_string(flags) + ' ' + std::to_string(boxWidth) + ' ';
    key.append(text);
    return key;
}

} // namespace

std::vector<QtSurface::TextLine>& QtSurface::cachedLayout(std::string_view text, int boxWidth,
                                                          unsigned flags) {
    auto& cache = layoutCache();
    std::string key = layoutKey(fontKey_, text, boxWidth, flags);
    if (const auto found = cache.find(key); found != cache.end())
        return found->second;
    const double pixelsPerUnit = std::max(1.0, scale_ * scale_);
    const auto budget = static_cast<std::size_t>(kCachedPictureBytes * pixelsPerUnit);
    if (cache.size() >= kCachedLayouts || cachedPictureBytes() > budget) {
        cache.clear();
        cachedPictureBytes() = 0;
    }
    std::vector<TextLine> lines = layOutText(text, boxWidth, flags);

    // Wrapped in the width of its widest line, a text breaks where it broke in the wider box:
    // every line still fits and no further word did before. Measuring a text and then drawing
    // it in the box measured is what the items do, so that layout is kept too.
    int widest = 0;
    for (const TextLine& line : lines)
        widest = std::max(widest, line.width);
    if ((flags & TextWordBreak) && !(flags & TextCenter) && widest < boxWidth)
        cache.emplace(layoutKey(fontKey_, text, widest, flags), lines);
    return cache.emplace(std::move(key), std::move(lines)).first->second;
}

void QtSurface::render(TextLine& line) const {
    if (line.rendered)
        return;
    line.rendered = true;
    // Ink may reach past the box (a descender, a negative bearing): a margin of a line's
    // height all round catches it, and the picture is then cut to what was drawn.
    const int height = lineHeight();
    const int margin = height;
    const QRect units(0, 0, line.width + 2 * margin, height + 3 * margin);
    QImage picture(toImageRect(units).size(), QImage::Format_ARGB32_Premultiplied);
    const QString text = toQString(line.text);
    const QPoint baseline(margin, margin + metrics_.ascent());
    QRectF white(margin, margin, line.width, height);
    if (scaled()) {
        // The glyphs of the larger font may run a pixel or two past the box laid out in page
        // units; the box grows to hold them, so that the line stays one opaque picture.
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            setUpPainter(painter);
            painter.setPen(Qt::black);
            painter.drawText(baseline, text);
        }
        const QRect box = toImageRect(QRect(margin, margin, line.width, height));
        const QRect ink = inkedPixels(picture, box.top(), box.bottom());
        const int left = ink.isNull() ? box.left() : std::min(box.left(), ink.left());
        const int right = ink.isNull() ? box.right() : std::max(box.right(), ink.right());
        white.setLeft(left / scale_);
        white.setRight((right + 1) / scale_);
    }
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        setUpPainter(painter); // at the surface's scale
        painter.setPen(Qt::black);
        painter.fillRect(white, Qt::white);
        painter.drawText(baseline, text);
    }
    const QRect drawn = inkedPixels(picture, 0, picture.height() - 1);
    if (drawn.isEmpty())
        return;
    line.picture = picture.copy(drawn);
    // Most lines' ink stays within their white box: such a picture has no clear pixel, and
    // laid on as an opaque one it is copied rather than blended.
    if (!line.picture.hasAlphaChannel() || isOpaque(line.picture))
        line.picture = line.picture.convertToFormat(QImage::Format_RGB32);
    line.offset = drawn.topLeft() - toImageRect(QRect(margin, margin, 0, 0)).topLeft();
    cachedPictureBytes() += static_cast<std::size_t>(line.picture.sizeInBytes());
}

Size QtSurface::measureText(std::string_view text) {
    return Size{textWidth(text), lineHeight()};
}

void QtSurface::recordRegion(DrawOp::Kind kind, const Region& region, Color color) {
    DrawOp op;
    op.kind = kind;
    op.region = region.qregion();
    op.color = color;
    const QRect box = op.region.boundingRect();
    op.bounds = pixelsOf(box.left(), box.top(), box.left() + static_cast<double>(box.width()),
                         box.top() + static_cast<double>(box.height()), 2.0);
    record(std::move(op));
}

void QtSurface::fillRegion(const Region& region, Color color) {
    if (!target_ || target_->isNull())
        return;
    if (recording()) {
        recordRegion(DrawOp::Kind::FillRegion, region, color);
        return;
    }
    paintRegion(region.qregion(), color);
}

void QtSurface::paintRegion(const QRegion& region, Color color) {
    PainterScope painter(*this);
    for (const QRect& rect : region)
        painter->fillRect(rect, toQColor(color));
}

template <typename Combine> void QtSurface::combineRegion(const QRegion& region, Combine combine) {
    if (!target_ || target_->isNull())
        return;
    // The pixels are read and written directly: what the batch has drawn must be there.
    closeBatchPainter();
    if (beforeDrawing_)
        beforeDrawing_();
    drawnOn_ = true;
    // Drawn again, a batch changes only the pixels it was asked to.
    const QRect inside = replaying_ ? target_->rect() & clip_ : target_->rect();
    const bool overlay = target_->hasAlphaChannel();
    for (const QRect& part : region) {
        const QRect rect = toImageRect(part).intersected(inside);
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                QRgb seen = target_->pixel(x, y);
                // On an overlay the user sees the overlay over the picture beneath it.
                if (overlay && qAlpha(seen) < 255) {
                    const QRgb below = (under_ && under_->rect().contains(x, y))
                                           ? under_->pixel(x, y)
                                           : qRgb(255, 255, 255);
                    const int a = qAlpha(seen);
                    auto mix = [a](int top, int bottom) { return top + bottom * (255 - a) / 255; };
                    seen = qRgb(mix(qRed(seen), qRed(below)), mix(qGreen(seen), qGreen(below)),
                                mix(qBlue(seen), qBlue(below)));
                }
                target_->setPixel(x, y, combine(seen));
            }
        }
    }
}

void QtSurface::invertRegion(const Region& region) {
    if (recording()) {
        if (target_ && !target_->isNull())
            recordRegion(DrawOp::Kind::InvertRegion, region, Color{});
        return;
    }
    combineRegion(region.qregion(), invertedColour);
}

void QtSurface::fillRegionNotXor(const Region& region, Color color) {
    if (recording()) {
        if (target_ && !target_->isNull())
            recordRegion(DrawOp::Kind::NotXorRegion, region, color);
        return;
    }
    combineRegion(region.qregion(), notXorWith(color));
}

void QtSurface::drawPicture(const Picture& picture, int x, int y) {
    if (!target_ || target_->isNull() || picture.isNull())
        return;
    if (recording()) {
        DrawOp op;
        op.kind = DrawOp::Kind::Picture;
        op.box = Rect{x, y, 0, 0};
        op.image = picture.image();
        op.bounds = pixelsOf(x, y, x + static_cast<double>(picture.width()),
                             y + static_cast<double>(picture.height()), 1.0);
        record(std::move(op));
        return;
    }
    PainterScope painter(*this);
    painter->drawImage(QPoint(x, y), picture.image());
}

void QtSurface::stretchPicture(const Picture& picture, const Rect& source, const Rect& dest) {
    if (!target_ || target_->isNull() || picture.isNull())
        return;
    if (source.width() <= 0 || source.height() <= 0 || dest.width() <= 0 || dest.height() <= 0)
        return;
    if (recording()) {
        DrawOp op;
        op.kind = DrawOp::Kind::Stretch;
        op.box = dest;
        op.source = source;
        op.image = picture.image();
        op.bounds = pixelsOf(dest.left, dest.top, dest.right, dest.bottom, 1.0);
        record(std::move(op));
        return;
    }
    // Nearest pixels, as a colour-on-colour stretch deletes the lines it leaves out; on a
    // scaled page the picture is smoothed (the painter's hint).
    PainterScope painter(*this);
    painter->drawImage(QRect(dest.left, dest.top, dest.width(), dest.height()), picture.image(),
                       QRect(source.left, source.top, source.width(), source.height()));
}

} // namespace lorvenna

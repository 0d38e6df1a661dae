// Drawing on a QImage: lines, ellipses, rectangles, text, regions and pictures.
#include "platform/QtSurface.h"

#include "platform/Picture.h"
#include "platform/Region.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRegion>

#include <algorithm>

namespace lorvenna {

namespace {

QColor toQColor(Color c) {
    return QColor(c.r, c.g, c.b);
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QPen qpenFor(const Pen* pen) {
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

} // namespace

QtSurface::QtSurface(QImage* target, const QImage* under)
    : target_(target), under_(under), font_(QGuiApplication::font()) {
    // Crisp black text, without grey edges, like everything else on the surface.
    font_.setStyleStrategy(QFont::NoAntialias);
}

void QtSurface::setUpPainter(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setFont(font_);
}

void QtSurface::moveTo(int x, int y) {
    position_ = Point{x, y};
}

void QtSurface::lineTo(int x, int y) {
    const Point from = position_;
    position_ = Point{x, y};
    if (!target_ || target_->isNull())
        return;
    QPainter painter(target_);
    setUpPainter(painter);
    painter.setPen(qpenFor(pen_));
    painter.drawLine(QPoint(from.x, from.y), QPoint(x, y));
}

const Pen* QtSurface::selectPen(const Pen* pen) {
    const Pen* previous = pen_;
    pen_ = pen;
    return previous;
}

void QtSurface::setUpFilledOutline(QPainter& painter) const {
    setUpPainter(painter);
    painter.setPen(qpenFor(pen_));
    painter.setBrush(toQColor(brush_));
}

void QtSurface::ellipse(const Rect& box) {
    if (!target_ || target_->isNull() || box.width() <= 0 || box.height() <= 0)
        return;
    QPainter painter(target_);
    setUpFilledOutline(painter);
    painter.drawEllipse(outlineRect(box));
}

void QtSurface::roundRect(const Rect& box, int cornerWidth, int cornerHeight) {
    if (!target_ || target_->isNull() || box.width() <= 0 || box.height() <= 0)
        return;
    QPainter painter(target_);
    setUpFilledOutline(painter);
    // The corners are given as the size of the ellipse that rounds them; Qt wants radii.
    painter.drawRoundedRect(outlineRect(box), std::max(0, cornerWidth) / 2.0,
                            std::max(0, cornerHeight) / 2.0, Qt::AbsoluteSize);
}

void QtSurface::fillRect(const Rect& box, Color color) {
    if (!target_ || target_->isNull() || box.width() <= 0 || box.height() <= 0)
        return;
    QPainter painter(target_);
    painter.fillRect(QRect(box.left, box.top, box.width(), box.height()), toQColor(color));
}

int QtSurface::lineHeight() const {
    return QFontMetrics(font_, target_).height();
}

int QtSurface::textWidth(std::string_view text) const {
    if (text.empty())
        return 0;
    return QFontMetrics(font_, target_).horizontalAdvance(latin1(text));
}

std::vector<QtSurface::TextLine> QtSurface::layOutText(std::string_view text, int boxWidth,
                                                       unsigned flags) const {
    std::vector<TextLine> lines;
    auto addLine = [&](std::string_view bytes) {
        TextLine line;
        line.text = std::string(bytes);
        line.width = textWidth(bytes);
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
            std::size_t lineEnd = pos;
            std::size_t next = pos;
            while (next < paragraph.size()) {
                std::size_t wordEnd = next;
                while (wordEnd < paragraph.size() && paragraph[wordEnd] == ' ')
                    ++wordEnd;
                while (wordEnd < paragraph.size() && paragraph[wordEnd] != ' ')
                    ++wordEnd;
                const std::string_view candidate = paragraph.substr(pos, wordEnd - pos);
                if (lineEnd != pos && textWidth(trimTrailingBlanks(candidate)) > boxWidth)
                    break;
                lineEnd = wordEnd;
                next = wordEnd;
            }
            addLine(trimTrailingBlanks(paragraph.substr(pos, lineEnd - pos)));
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
    const std::vector<TextLine> lines = layOutText(text, box.width(), flags);
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

    // Black text on an opaque white background behind each line, not clipped to the box.
    QPainter painter(target_);
    setUpPainter(painter);
    painter.setPen(Qt::black);
    const int ascent = QFontMetrics(font_, target_).ascent();
    int y = box.top;
    for (const TextLine& line : lines) {
        const int x = box.left + line.x;
        painter.fillRect(QRect(x, y, line.width, height), Qt::white);
        painter.drawText(QPoint(x, y + ascent), latin1(line.text));
        y += height;
    }
    return total;
}

Size QtSurface::measureText(std::string_view text) {
    return Size{textWidth(text), lineHeight()};
}

void QtSurface::fillRegion(const Region& region, Color color) {
    if (!target_ || target_->isNull())
        return;
    QPainter painter(target_);
    for (const QRect& rect : region.qregion())
        painter.fillRect(rect, toQColor(color));
}

void QtSurface::invertRegion(const Region& region) {
    if (!target_ || target_->isNull())
        return;
    const QRect inside = target_->rect();
    const bool overlay = target_->hasAlphaChannel();
    for (const QRect& part : region.qregion()) {
        const QRect rect = part.intersected(inside);
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
                target_->setPixel(x, y,
                                  qRgb(255 - qRed(seen), 255 - qGreen(seen), 255 - qBlue(seen)));
            }
        }
    }
}

void QtSurface::drawPicture(const Picture& picture, int x, int y) {
    if (!target_ || target_->isNull() || picture.isNull())
        return;
    QPainter painter(target_);
    painter.drawImage(QPoint(x, y), picture.image());
}

void QtSurface::stretchPicture(const Picture& picture, const Rect& source, const Rect& dest) {
    if (!target_ || target_->isNull() || picture.isNull())
        return;
    if (source.width() <= 0 || source.height() <= 0 || dest.width() <= 0 || dest.height() <= 0)
        return;
    // Nearest pixels, as a colour-on-colour stretch deletes the lines it leaves out.
    QPainter painter(target_);
    setUpPainter(painter);
    painter.drawImage(QRect(dest.left, dest.top, dest.width(), dest.height()), picture.image(),
                      QRect(source.left, source.top, source.width(), source.height()));
}

} // namespace lorvenna

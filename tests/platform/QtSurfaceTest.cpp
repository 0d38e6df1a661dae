// Drawing on images: lines and pens, filled shapes, text layout and drawing, regions, pictures.
#include "platform/QtSurface.h"

#include "platform/Picture.h"
#include "platform/Region.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

constexpr Color kWhite{255, 255, 255};
constexpr Color kBlack{0, 0, 0};

QImage whiteImage(int w = 100, int h = 80) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

Color at(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return Color{static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                 static_cast<std::uint8_t>(qBlue(p))};
}

int countNot(const QImage& image, Color colour, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += at(image, x, y) == colour ? 0 : 1;
    return n;
}

// The rows of a column that are not white.
int inkRows(const QImage& image, int x) {
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        rows += at(image, x, y) == kWhite ? 0 : 1;
    return rows;
}

} // namespace

TEST(QtSurface, LinesUseTheSelectedPen) {
    QImage image = whiteImage();
    QtSurface surface(&image);

    surface.moveTo(10, 20);
    surface.lineTo(60, 20);
    EXPECT_EQ(surface.currentPosition(), (Point{60, 20}));
    EXPECT_EQ(at(image, 30, 20), kBlack);
    EXPECT_EQ(at(image, 30, 19), kWhite);
    EXPECT_EQ(at(image, 30, 21), kWhite);
    EXPECT_EQ(at(image, 9, 20), kWhite);

    const Pen red{5, Color{255, 0, 0}, false};
    EXPECT_EQ(surface.selectPen(&red), nullptr) << "the stock pen is reported as none";
    surface.moveTo(30, 50);
    surface.lineTo(30, 70);
    EXPECT_EQ(at(image, 30, 60), (Color{255, 0, 0}));
    EXPECT_EQ(at(image, 32, 60), (Color{255, 0, 0}));
    EXPECT_EQ(at(image, 34, 60), kWhite);

    // Widths 0 and 1 are both one pixel thin.
    const Pen thin{0, Color{0, 0, 255}, false};
    EXPECT_EQ(surface.selectPen(&thin), &red);
    surface.moveTo(70, 10);
    surface.lineTo(70, 40);
    EXPECT_EQ(inkRows(image, 70), 31);
    EXPECT_EQ(at(image, 71, 25), kWhite);
    EXPECT_EQ(surface.selectPen(nullptr), &thin);
}

TEST(QtSurface, SquareCapsReachPastTheEnds) {
    QImage round = whiteImage();
    QImage square = whiteImage();
    const Pen roundPen{6, kBlack, false};
    const Pen squarePen{6, kBlack, true};
    QtSurface a(&round);
    QtSurface b(&square);
    a.selectPen(&roundPen);
    b.selectPen(&squarePen);
    for (QtSurface* s : {&a, &b}) {
        s->moveTo(20, 40);
        s->lineTo(60, 40);
    }
    // At the corner of the end the square cap is inked and the round one is not.
    EXPECT_EQ(at(square, 62, 42), kBlack);
    EXPECT_EQ(at(round, 62, 42), kWhite);
}

TEST(QtSurface, FilledShapesKeepToTheirBox) {
    QImage image = whiteImage();
    QtSurface surface(&image);
    surface.fillRect({10, 10, 20, 15}, Color{0, 128, 0});
    EXPECT_EQ(countNot(image, kWhite, QRect(0, 0, 100, 80)), 50);
    EXPECT_EQ(at(image, 10, 10), (Color{0, 128, 0}));
    EXPECT_EQ(at(image, 19, 14), (Color{0, 128, 0}));
    EXPECT_EQ(at(image, 20, 14), kWhite);
    EXPECT_EQ(at(image, 19, 15), kWhite);

    // An ellipse: outline with the pen, inside with the brush, nothing past the box.
    surface.setBrush(Color{255, 255, 0});
    surface.ellipse({40, 20, 80, 60});
    EXPECT_EQ(at(image, 60, 40), (Color{255, 255, 0}));
    EXPECT_EQ(at(image, 40, 40), kBlack);
    EXPECT_EQ(at(image, 79, 40), kBlack);
    EXPECT_EQ(at(image, 80, 40), kWhite);
    EXPECT_EQ(at(image, 41, 21), kWhite) << "corners of the box stay clear";

    QImage rounded = whiteImage();
    QtSurface other(&rounded);
    other.setBrush(kBlack);
    other.roundRect({10, 10, 50, 30}, 4, 4);
    EXPECT_EQ(at(rounded, 30, 20), kBlack);
    EXPECT_EQ(at(rounded, 10, 20), kBlack);
    EXPECT_EQ(at(rounded, 49, 20), kBlack);
    EXPECT_EQ(at(rounded, 50, 20), kWhite);
    EXPECT_EQ(at(rounded, 10, 10), kWhite) << "the corner is rounded off";
}

TEST(QtSurface, MeasuringLaysTextOutLikeDrawing) {
    QImage image = whiteImage(400, 300);
    QtSurface surface(&image);
    const int line = surface.lineHeight();
    ASSERT_GT(line, 5);

    const Size word = surface.measureText("Hello there");
    EXPECT_EQ(word.height, line);
    EXPECT_GT(word.width, surface.measureText("Hello").width);

    // One line: the top left corner stays, the box becomes the text's extent.
    Rect box{5, 7, 300, 300};
    EXPECT_EQ(surface.drawText("Hello there", box, TextCalcRect), line);
    EXPECT_EQ(box, (Rect{5, 7, 5 + word.width, 7 + line}));

    // Word breaking inside a narrow box: one word to a line, the box as wide as the widest.
    const int narrow = surface.measureText("there").width + 2;
    box = Rect{0, 0, narrow, 0};
    EXPECT_EQ(surface.drawText("Hello there you", box, TextCalcRect | TextWordBreak), 3 * line);
    EXPECT_EQ(box.height(), 3 * line);
    EXPECT_LE(box.width(), narrow);
    EXPECT_EQ(box.width(),
              std::max({surface.measureText("Hello").width, surface.measureText("there").width,
                        surface.measureText("you").width}));

    // A word wider than the box keeps a line of its own and runs past the edge.
    box = Rect{0, 0, 10, 0};
    EXPECT_EQ(surface.drawText("Unbreakable", box, TextCalcRect | TextWordBreak), line);
    EXPECT_EQ(box.width(), surface.measureText("Unbreakable").width);

    // Line breaks count unless the text is one line; CR LF is one break.
    box = Rect{0, 0, 300, 0};
    EXPECT_EQ(surface.drawText("one\r\ntwo\nthree\r\n\r\nfive", box, TextCalcRect), 5 * line);
    box = Rect{0, 0, 300, 0};
    EXPECT_EQ(surface.drawText("one\r\ntwo", box, TextCalcRect | TextSingleLine), line);
    EXPECT_EQ(box.width(), surface.measureText("onetwo").width);

    // An empty text is one line high but spans nothing.
    box = Rect{4, 4, 300, 300};
    EXPECT_EQ(surface.drawText("", box, TextCalcRect | TextWordBreak), line);
    EXPECT_EQ(box, (Rect{4, 4, 4, 4}));

    // Measuring draws nothing.
    EXPECT_EQ(countNot(image, kWhite, image.rect()), 0);
}

TEST(QtSurface, TextIsBlackOnWhiteAndCentredOnRequest) {
    QImage image = whiteImage(300, 60);
    image.fill(QColor(200, 200, 200));
    QtSurface surface(&image);
    const Size extent = surface.measureText("Mm Mm");

    Rect box{0, 0, 300, 30};
    EXPECT_EQ(surface.drawText("Mm Mm", box, TextCenter | TextSingleLine), extent.height);
    const int left = (300 - extent.width) / 2;
    const QRect text(left, 0, extent.width, extent.height);
    EXPECT_GT(countNot(image, kWhite, text), 0) << "ink is there";
    int black = 0;
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x)
            black += at(image, x, y) == kBlack ? 1 : 0;
    EXPECT_GT(black, 10);
    // The background behind the text is opaque white; the rest is left as it was.
    EXPECT_EQ(at(image, left, extent.height - 1), kWhite);
    EXPECT_EQ(at(image, left - 2, 5), (Color{200, 200, 200}));
    EXPECT_EQ(at(image, 150, extent.height + 2), (Color{200, 200, 200}));
}

TEST(QtSurface, RegionsAreFilledAndInverted) {
    QImage image = whiteImage();
    QtSurface surface(&image);
    const Region triangle = Region::polygon({{10, 10}, {50, 10}, {10, 50}});
    surface.fillRegion(triangle, Color{0, 0, 200});
    EXPECT_EQ(at(image, 15, 15), (Color{0, 0, 200}));
    EXPECT_EQ(at(image, 45, 45), kWhite);

    surface.invertRegion(Region::rectangle({0, 0, 20, 20}));
    EXPECT_EQ(at(image, 15, 15), (Color{255, 255, 55}));
    EXPECT_EQ(at(image, 5, 5), kBlack);
    EXPECT_EQ(at(image, 25, 5), kWhite);
    surface.invertRegion(Region::rectangle({0, 0, 20, 20}));
    EXPECT_EQ(at(image, 5, 5), kWhite);
    // A region reaching out of the image is cut at its edge.
    surface.invertRegion(Region::rectangle({90, 70, 200, 200}));
    EXPECT_EQ(at(image, 99, 79), kBlack);
}

TEST(QtSurface, InvertingOnTheOverlayShowsTheInverseOfThePictureBelow) {
    QImage picture = whiteImage(40, 40);
    picture.fill(QColor(10, 20, 30));
    QImage overlay(40, 40, QImage::Format_ARGB32_Premultiplied);
    overlay.fill(Qt::transparent);
    QtSurface screen(&overlay, &picture);

    screen.invertRegion(Region::rectangle({0, 0, 10, 10}));
    EXPECT_EQ(overlay.pixel(5, 5), qRgb(245, 235, 225));
    EXPECT_EQ(qAlpha(overlay.pixel(20, 20)), 0);
    screen.invertRegion(Region::rectangle({0, 0, 10, 10}));
    EXPECT_EQ(overlay.pixel(5, 5), qRgb(10, 20, 30));
}

TEST(QtSurface, PicturesAreCopiedAndStretchedPixelForPixel) {
    QImage source(2, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 255, 0));
    source.setPixel(0, 1, qRgb(0, 0, 255));
    source.setPixel(1, 1, qRgb(0, 0, 0));
    const Picture picture(source);

    QImage image = whiteImage();
    QtSurface surface(&image);
    surface.drawPicture(picture, 5, 6);
    EXPECT_EQ(at(image, 5, 6), (Color{255, 0, 0}));
    EXPECT_EQ(at(image, 6, 7), kBlack);
    EXPECT_EQ(at(image, 7, 6), kWhite);

    // Stretched by 10 without blending: whole blocks of the source colours.
    surface.stretchPicture(picture, {0, 0, 2, 2}, {20, 20, 40, 40});
    EXPECT_EQ(at(image, 20, 20), (Color{255, 0, 0}));
    EXPECT_EQ(at(image, 29, 29), (Color{255, 0, 0}));
    EXPECT_EQ(at(image, 30, 29), (Color{0, 255, 0}));
    EXPECT_EQ(at(image, 39, 39), kBlack);
    EXPECT_EQ(at(image, 40, 39), kWhite);

    // Part of the source only.
    surface.stretchPicture(picture, {1, 0, 2, 1}, {50, 50, 54, 54});
    EXPECT_EQ(at(image, 50, 50), (Color{0, 255, 0}));
    EXPECT_EQ(at(image, 53, 53), (Color{0, 255, 0}));
}

// Lines break where breaking between words with a measure of the whole line for every word
// would break them, and a line drawn from its kept picture looks as drawing its text does,
// whatever texts and widths came before on any surface.
TEST(QtSurface, WrappedTextBreaksAndDrawsAsMeasuringEveryWordWould) {
    QImage image = whiteImage(400, 200);
    QtSurface surface(&image);
    QFont font = QGuiApplication::font();
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font, &image);

    // Greedy breaking with a full measure per word, and the drawing of each line as text.
    auto reference = [&](const std::string& text, int width, QImage* into) {
        std::vector<std::string> lines;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = pos;
            for (std::size_t next = pos; next < text.size();) {
                std::size_t wordEnd = next;
                while (wordEnd < text.size() && text[wordEnd] == ' ')
                    ++wordEnd;
                while (wordEnd < text.size() && text[wordEnd] != ' ')
                    ++wordEnd;
                std::string candidate = text.substr(pos, wordEnd - pos);
                while (!candidate.empty() && candidate.back() == ' ')
                    candidate.pop_back();
                if (end != pos && metrics.horizontalAdvance(QString::fromLatin1(candidate)) > width)
                    break;
                end = next = wordEnd;
            }
            std::string line = text.substr(pos, end - pos);
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            lines.push_back(line);
            pos = end;
            while (pos < text.size() && text[pos] == ' ')
                ++pos;
        }
        if (into) {
            QPainter painter(into);
            painter.setFont(font);
            painter.setPen(Qt::black);
            int y = 10;
            for (const std::string& line : lines) {
                const QString q = QString::fromLatin1(line);
                painter.fillRect(QRect(10, y, metrics.horizontalAdvance(q), metrics.height()),
                                 Qt::white);
                painter.drawText(QPoint(10, y + metrics.ascent()), q);
                y += metrics.height();
            }
        }
        return lines;
    };

    const std::string texts[] = {
        "The quick brown fox jumps over the lazy dog; Wavy AVATAR Type, to and fro.",
        "Averyveryverylongwordthatcannotbebrokenanywhere and then   some   spaced words  ",
        "A j g y p q Q ... ,,, !!! ??? {[()]} gap",
    };
    for (const std::string& text : texts) {
        for (int width : {1, 40, 97, 150, 260, 1000}) {
            std::vector<std::string> got;
            for (const QtSurface::TextLine& line : surface.layOutText(text, width, TextWordBreak))
                got.push_back(line.text);
            EXPECT_EQ(got, reference(text, width, nullptr)) << text << " in " << width;
        }
        // Drawn twice in turn with a second text in the same place: the kept pictures must
        // follow the text.
        for (int round = 0; round < 2; ++round) {
            for (const std::string& shown : {text, std::string("Another text altogether")}) {
                QImage drawn = whiteImage(400, 200);
                QImage expected = whiteImage(400, 200);
                QtSurface target(&drawn);
                Rect box{10, 10, 160, 200};
                target.drawText(shown, box, TextWordBreak);
                reference(shown, 150, &expected);
                EXPECT_EQ(drawn, expected) << shown;
            }
        }
    }
}

// A retained surface draws again only where a batch differs from the last one, yet every frame
// must come out exactly as a plain surface draws it whole, at every scale: small changes that
// cut through a smoothed picture, thin and wide lines and outlines are the hard cases.
TEST(QtSurface, RetainedPictureMatchesOneDrawnWholeFrameAfterFrame) {
    QImage texture(7, 5, QImage::Format_RGB32);
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 5; ++y)
            texture.setPixel(x, y, qRgb(40 * x, 50 * y, (x + y) % 2 ? 230 : 20));
    const Picture picture(texture);
    const Pen wide{3, Color{0, 120, 0}, false};
    const Region triangle = Region::polygon({{58, 20}, {80, 20}, {69, 38}});

    // Frame k of a display's repaint: white, then everything. At the top right a fill changes
    // colour and a text, a zone and an XOR blink come and go over each other; once a spot
    // changes in the middle of the picture and the lines at the bottom left.
    auto drawFrame = [&](Surface& surface, int k) {
        surface.beginBatch();
        surface.fillRect({0, 0, 101, 81}, kWhite);
        surface.stretchPicture(picture, {0, 0, 7, 5}, {4, 44, 40, 76});
        surface.moveTo(2, 40);
        surface.lineTo(40, 78);
        surface.selectPen(&wide);
        surface.moveTo(40, 40);
        surface.lineTo(2, 78);
        surface.selectPen(nullptr);
        surface.setBrush(Color{250, 220, 0});
        surface.ellipse({10, 6, 35, 34});
        surface.roundRect({45, 48, 90, 75}, 8, 8);
        if (k == 6)
            surface.fillRect({15, 55, 20, 60}, kBlack);
        surface.fillRect({70, 4, 77, 11}, Color{static_cast<std::uint8_t>(80 * (k % 3)), 0, 0});
        if (k % 4 < 2) {
            Rect box{50, 18, 95, 40};
            surface.drawText("Aq", box, TextLeft);
        }
        if (k % 2 == 1)
            surface.fillRegion(triangle, Color{0, 0, 160});
        if (k == 5)
            surface.fillRegionNotXor(triangle, Color{255, 255, 0});
        surface.endBatch();
    };

    for (const double scale : {1.0, 1.5, 1.8, 2.0}) {
        SCOPED_TRACE(scale);
        const int w = static_cast<int>(std::ceil(101 * scale));
        const int h = static_cast<int>(std::ceil(81 * scale));
        QImage kept = whiteImage(w, h);
        QtSurface retained(&kept);
        retained.setScale(scale);
        retained.setRetained(true);
        int partial = 0;
        for (int k = 0; k < 9; ++k) {
            SCOPED_TRACE(k);
            QImage whole = whiteImage(w, h);
            QtSurface plain(&whole);
            plain.setScale(scale);
            drawFrame(plain, k);
            drawFrame(retained, k);
            EXPECT_EQ(kept, whole);
            const QRect damage = retained.lastDamage();
            partial += damage.width() * damage.height() < w * h / 4 ? 1 : 0;
        }
        // Most changes were drawn again on a small part of the picture.
        EXPECT_GE(partial, 6);
        // The same frame again: nothing is drawn.
        drawFrame(retained, 8);
        EXPECT_TRUE(retained.lastDamage().isEmpty());

        // Drawing outside a batch changes the picture behind the record: all is drawn again.
        retained.fillRect({0, 0, 30, 30}, kBlack);
        drawFrame(retained, 8);
        EXPECT_EQ(retained.lastDamage(), kept.rect());
        EXPECT_EQ(at(kept, 1, 1), kWhite);
        // So does a picture changed by others.
        kept.fill(Qt::red);
        drawFrame(retained, 8);
        EXPECT_EQ(retained.lastDamage(), kept.rect());
    }
}

} // namespace lorvenna

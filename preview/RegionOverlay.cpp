// The outlines of where clicks land, drawn over the page.
#include "preview/RegionOverlay.h"

#include "items/Display.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/QtChildWindow.h"
#include "platform/ScreenScale.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QTransform>

namespace lorvenna {

namespace {

constexpr int kFollowMs = 100;
constexpr QColor kDisplayColour{230, 120, 0};
constexpr QColor kItemColour{0, 110, 230};
constexpr QColor kZoneColour{210, 0, 160};
constexpr QColor kZoneFill{210, 0, 160, 50};
constexpr QColor kTagBackground{255, 255, 255, 210};

void drawTag(QPainter& painter, QPoint at, const QString& text, const QColor& colour) {
    const QRect box = painter.fontMetrics().boundingRect(text).adjusted(-2, 0, 2, 0);
    const QRect placed = box.translated(at - box.topLeft());
    painter.fillRect(placed, kTagBackground);
    painter.setPen(colour);
    painter.drawText(placed, Qt::AlignCenter, text);
}

} // namespace

RegionOverlay::RegionOverlay(QWidget* mainWindow) : QWidget(mainWindow) {
    setObjectName(QStringLiteral("regionOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    follow_.setInterval(kFollowMs);
    connect(&follow_, &QTimer::timeout, this, [this] { update(); });
    hide();
}

void RegionOverlay::setShown(bool shown) {
    if (!shown) {
        follow_.stop();
        hide();
        return;
    }
    setGeometry(parentWidget()->rect());
    raise();
    show();
    update();
    follow_.start();
}

void RegionOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QFont font = painter.font();
    font.setPixelSize(std::max(8, scaleSize(11)));
    painter.setFont(font);
    for (Display* display : shownDisplays()) {
        QWidget* client = display->window ? widgetOf(*display->window) : nullptr;
        if (!client || !client->isVisible())
            continue;
        // Items, their outlines and regions are in page units from the display's corner.
        const QPoint origin = client->mapTo(parentWidget(), QPoint(0, 0));
        const QTransform toWindow =
            QTransform::fromTranslate(origin.x(), origin.y()).scale(scaleSize(1.0), scaleSize(1.0));
        QWidget* frame = client->parentWidget();
        const QRect frameRect(frame->mapTo(parentWidget(), QPoint(0, 0)), frame->size());

        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kDisplayColour, 2));
        painter.drawRect(frameRect.adjusted(0, 0, -1, -1));
        for (const Item* item = display->items; item; item = item->next) {
            QPoint tagAt;
            if (item->isType(ItemType::Zone)) {
                if (!item->region)
                    continue;
                QPainterPath outline;
                outline.addRegion(item->region->qregion());
                outline = toWindow.map(outline.simplified());
                painter.setPen(QPen(kZoneColour, 1));
                painter.setBrush(kZoneFill);
                painter.drawPath(outline);
                tagAt = outline.boundingRect().topLeft().toPoint();
            } else {
                const Rect& b = item->bounds;
                if (b.width() <= 0 || b.height() <= 0)
                    continue;
                painter.setPen(QPen(kItemColour, 1, Qt::DashLine));
                painter.setBrush(Qt::NoBrush);
                const QRect placed =
                    toWindow.mapRect(QRectF(b.left, b.top, b.width(), b.height())).toRect();
                painter.drawRect(placed.adjusted(0, 0, -1, -1));
                tagAt = placed.topLeft();
            }
            drawTag(painter, tagAt, QString::fromStdString(item->title),
                    item->isType(ItemType::Zone) ? kZoneColour : kItemColour);
        }
        drawTag(painter, frameRect.topLeft() + QPoint(2, -painter.fontMetrics().height()),
                QString::fromStdString(display->name), kDisplayColour);
    }
}

} // namespace lorvenna

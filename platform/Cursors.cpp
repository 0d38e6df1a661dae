// The pointing-hand cursor, made once from the artwork.
#include "platform/Cursors.h"

#include "platform/ProgramResources.h"

#include <QCursor>
#include <QPixmap>

namespace lorvenna {

namespace {

// Where the finger tip is in the 32 x 32 cursor picture.
constexpr int kHotSpotX = 9;
constexpr int kHotSpotY = 1;

} // namespace

const QCursor& pointCursor() {
    static const QCursor cursor = [] {
        loadProgramResources();
        const QPixmap picture(QStringLiteral(":/cursors/point.png"));
        if (picture.isNull())
            return QCursor(Qt::PointingHandCursor);
        return QCursor(picture, kHotSpotX, kHotSpotY);
    }();
    return cursor;
}

} // namespace lorvenna

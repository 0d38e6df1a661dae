// Dialog units from the application's default font.
#include "platform/DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>

namespace lorvenna {

namespace {

struct Base {
    int x;
    int y;
};

Base base() {
    const QFontMetrics metrics(QApplication::font());
    // The average width of the alphabet, as dialog templates measure it.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int average = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return {average > 0 ? average : 6, metrics.height() > 0 ? metrics.height() : 13};
}

} // namespace

int dialogUnitsX(int units) {
    return units * base().x / 4;
}
int dialogUnitsY(int units) {
    return units * base().y / 8;
}

Rect dialogRect(int x, int y, int w, int h) {
    const int left = dialogUnitsX(x);
    const int top = dialogUnitsY(y);
    return {left, top, left + dialogUnitsX(w), top + dialogUnitsY(h)};
}

} // namespace lorvenna

// Small helpers the record dialogs share: placing controls in dialog units and naming them
// by their ids, so that tests find a control as the program does.
#pragma once

#include "platform/DialogUnits.h"
#include "platform/QtText.h"

#include <QRect>
#include <QString>
#include <QWidget>

class QDialog;
class QLabel;
class QPushButton;

#include <string_view>

namespace lorvenna {

inline QRect controlRect(int x, int y, int w, int h) {
    const Rect r = dialogRect(x, y, w, h);
    return QRect(r.left, r.top, r.width(), r.height());
}

inline QString controlName(int id) {
    return QStringLiteral("control%1").arg(id);
}

// The control of a dialog with that id (nullptr when there is none).
template <typename T = QWidget> T* findControl(const QWidget& dialog, int id) {
    return dialog.findChild<T*>(controlName(id), Qt::FindDirectChildrenOnly);
}

inline QString latin1Text(std::string_view text) {
    return toQString(text);
}

// A modal dialog of w by h dialog units.
void setUpDialog(QDialog& dialog, int w, int h);
// A push button with its id, caption and place; it never presses itself on Enter.
QPushButton* addButton(QWidget& dialog, int id, const char* caption, int x, int y, int w, int h);
// The status text of the review dialogs, centred in its black frame.
QLabel* addFramedStatus(QWidget& dialog, int id);

} // namespace lorvenna

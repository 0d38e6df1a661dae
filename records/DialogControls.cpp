// Controls the record dialogs share.
#include "records/DialogControls.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace lorvenna {

void setUpDialog(QDialog& dialog, int w, int h) {
    dialog.setModal(true);
    dialog.setFixedSize(dialogUnitsX(w), dialogUnitsY(h));
}

QPushButton* addButton(QWidget& dialog, int id, const char* caption, int x, int y, int w, int h) {
    auto* button = new QPushButton(QString::fromLatin1(caption), &dialog);
    button->setObjectName(controlName(id));
    button->setGeometry(controlRect(x, y, w, h));
    button->setAutoDefault(false);
    return button;
}

QLabel* addFramedStatus(QWidget& dialog, int id) {
    auto* frame = new QFrame(&dialog);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setGeometry(controlRect(1, 12, 312, 42));
    auto* status = new QLabel(&dialog);
    status->setObjectName(controlName(id));
    status->setGeometry(controlRect(24, 14, 280, 38));
    status->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    status->setWordWrap(true);
    status->setTextFormat(Qt::PlainText);
    return status;
}

} // namespace lorvenna

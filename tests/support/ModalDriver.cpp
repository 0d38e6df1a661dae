// Acting on the modal dialog that is open, as a user would.
#include "tests/support/ModalDriver.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

namespace lorvenna {

namespace {

QPushButton* findButton(std::string_view caption) {
    QWidget* modal = activeModal();
    if (!modal)
        return nullptr;
    const QString wanted =
        QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size()));
    for (QPushButton* button : modal->findChildren<QPushButton*>()) {
        if (button->text() == wanted && button->isVisible() && button->isEnabled())
            return button;
    }
    return nullptr;
}

} // namespace

QWidget* activeModal() {
    return QApplication::activeModalWidget();
}

bool modalHasButton(std::string_view caption) {
    return findButton(caption) != nullptr;
}

bool clickModalButton(std::string_view caption) {
    QPushButton* button = findButton(caption);
    if (!button)
        return false;
    button->click();
    return true;
}

bool selectModalListRow(int row) {
    QWidget* modal = activeModal();
    QListWidget* list = modal ? modal->findChild<QListWidget*>() : nullptr;
    if (!list || row >= list->count())
        return false;
    list->setCurrentRow(row);
    return true;
}

} // namespace lorvenna

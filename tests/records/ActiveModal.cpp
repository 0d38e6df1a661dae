// The modal dialog being shown.
#include "tests/records/ActiveModal.h"

#include <QApplication>

QWidget* activeModal() {
    return QApplication::activeModalWidget();
}

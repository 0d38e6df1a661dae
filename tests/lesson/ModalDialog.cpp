// Finding the modal dialog that is up, for tests that also see the program's Display type.
#include "tests/lesson/ModalDialog.h"

#include <QApplication>
#include <QDialog>

QDialog* activeModalDialog() {
    return qobject_cast<QDialog*>(QApplication::activeModalWidget());
}

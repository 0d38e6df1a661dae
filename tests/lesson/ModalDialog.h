// Finding the modal dialog that is up, for tests that also see the program's Display type.
#pragma once

class QDialog;

// QApplication's header declares an X11 type named Display, so it stays in its own file.
QDialog* activeModalDialog();

// The modal dialog being shown, for tests that drive a dialog a function makes itself.
// Kept apart from the application header, whose X11 names clash with the program's own.
#pragma once

class QWidget;

QWidget* activeModal();

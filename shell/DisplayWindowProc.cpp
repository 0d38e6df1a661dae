// The display window procedure. Stand-in until the display windows are built.
#include "shell/DisplayWindowProc.h"

ChildWindowProc* displayWindowProc() { return nullptr; }

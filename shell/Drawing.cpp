// Drawing services of the displays. Stand-in until the display windows are built.
#include "shell/Drawing.h"

void CreateDrawingSurfaces(Display*) {}
void RepaintDisplay(Display*) {}
void MarkAndRepaint(Display*) {}
void MarkAllAndRepaint() {}
void RepaintAllDisplays() {}

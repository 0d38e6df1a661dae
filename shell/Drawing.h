// Drawing services of the displays.
#pragma once

struct Display;

// Makes the display's surfaces once its window exists.
void CreateDrawingSurfaces(Display* display);
// Redraws the display if it is marked as needing it.
void RepaintDisplay(Display* display);
void MarkAndRepaint(Display* display);
// Marks and repaints every display of the page shown.
void MarkAllAndRepaint();
// Repaints (only the marked) displays of the page shown.
void RepaintAllDisplays();

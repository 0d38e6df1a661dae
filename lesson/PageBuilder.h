// Reading displays and building pages, and tearing a lesson down.
#pragma once

#include "platform/Diagnostic.h"

namespace lorvenna {

struct Display;

// Reads one display block, from the header line at position, into display. A failure names
// the lesson file and, where it can, the line.
Status ReadLsn(Display* display, long position);
// Builds page n of the lesson.
Status buildPage(int n);
void lessonTeardown();
void deleteDisplay(Display* display);
// Deletes the displays of the page on screen and empties their slots.
void deleteShownDisplays();

} // namespace lorvenna

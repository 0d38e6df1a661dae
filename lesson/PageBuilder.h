// Reading displays and building pages, and tearing a lesson down.
#pragma once

namespace lorvenna {

struct Display;

// Reads one display block, from the header line at position, into display.
bool ReadLsn(Display* display, long position);
// Builds page n of the lesson; false with the reason in errorText.
bool buildPage(int n);
void lessonTeardown();
void deleteDisplay(Display* display);

} // namespace lorvenna

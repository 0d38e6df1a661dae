// The window procedure of the display windows: clicks, control notifications, scroll
// requests and item timer ticks become calls on the display's items.
#pragma once

#include "platform/Geometry.h"

namespace lorvenna {

class ChildWindowProc;

ChildWindowProc* displayWindowProc();

// The last pointer position seen by any display window, as unsigned 16-bit values.
Point lastMousePosition();

} // namespace lorvenna

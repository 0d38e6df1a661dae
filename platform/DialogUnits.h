// Dialog layouts are given in dialog units: a quarter of the average character width of
// the dialog font horizontally, an eighth of its height vertically.
#pragma once

#include "platform/Geometry.h"

namespace lorvenna {

int dialogUnitsX(int units);
int dialogUnitsY(int units);
// The pixel rectangle of a control placed at (x, y) with size (w, h) in dialog units.
Rect dialogRect(int x, int y, int w, int h);

} // namespace lorvenna

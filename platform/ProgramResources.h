// The program's own pictures, cursor and icon are compiled into its library; this registers
// them with Qt's resource system before the first use.
#pragma once

class QIcon;

namespace lorvenna {

// Safe to call any number of times.
void loadProgramResources();

// The program icon (icon 1 of the artwork).
QIcon programIcon();

} // namespace lorvenna

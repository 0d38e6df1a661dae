// The Qt widget behind a display window: an off-screen image with an overlay, child controls
// whose signals become notification words, and item timers.
#pragma once

#include "platform/ChildWindow.h"

#include <memory>

class QFont;
class QTimer;
class QWidget;

namespace lorvenna {

// A child of parent (or a top-level widget when parent is nullptr, as in tests) at rect with
// a thin border, neither moved nor resized afterwards, shown unless asked to wait for show().
// Messages go to proc.
std::unique_ptr<ChildWindow> createQtChildWindow(QWidget* parent, int id, const Rect& rect,
                                                 ChildWindowProc* proc, bool shown = true);
// The client widget of a window made by createQtChildWindow, in client coordinates (tests
// send real events to it); its parent is the bordered frame. nullptr for other windows.
QWidget* widgetOf(ChildWindow& window);
// The Qt timer running for key on such a window, or nullptr (tests fire it themselves).
QTimer* timerOf(ChildWindow& window, const void* key);

// The application's font at the screen's scale: the controls on the page and the main
// window's buttons grow with the page.
QFont scaledApplicationFont();
// Gives a widget that font (at 1.0, the font it inherits).
void setScaledFont(QWidget* widget);

// The shortest period of an item timer: a shorter one (0, say) would tick on every pass of
// the event loop and starve it.
inline constexpr int kShortestTimerPeriod = 10;

} // namespace lorvenna

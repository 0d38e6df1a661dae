// Display windows as assistive technology sees them: each window a named group of the nodes
// its window procedure describes, in reading order, the buttons and scroll bars of the items
// among them; and the ring that shows where the keyboard is.
#pragma once

#include "platform/Geometry.h"

class QAccessibleInterface;
class QObject;
class QWidget;

namespace lorvenna {

class ChildWindow;
class ChildWindowProc;
class Control;

// Puts the display windows' accessibility interfaces in place of the toolkit's own; once
// for the run, before any is asked for.
void installDisplayAccessibility();

// The interface of a display window (its client widget), or nullptr for another window.
QAccessibleInterface* displayAccessible(ChildWindow& window);

// The focus ring over a display window's client: drawn above the items, never in the way of
// the mouse. rect is in the window's pixels; an empty one hides the ring.
QWidget* createFocusRing(QWidget* client);
void placeFocusRing(QWidget* ring, const Rect& rect);
// Tells assistive technology that the keyboard went to the node with this key.
void reportFocus(ChildWindow& window, const void* key);

// Reached through the display windows' widgets (platform/QtChildWindow.cpp).
ChildWindow* childWindowOfClient(const QObject* object);
ChildWindowProc* windowProcOf(ChildWindow& window);
QWidget* widgetOfControl(const Control* control);

} // namespace lorvenna

// The window procedure of the display windows: clicks, control notifications, scroll
// requests and item timer ticks become calls on the display's items.
#pragma once

#include "platform/Geometry.h"

namespace lorvenna {

class ChildWindowProc;
class Item;
struct Display;

ChildWindowProc* displayWindowProc();

// A left click on display at (x, y) that lands on hit (or on no item): the item's Click and,
// while a question is asked, the answer. The keyboard presses a zone through it.
void clickItem(Display& display, Item* hit, int x, int y);
// Presses item as Space or Enter does: a button or highlighter as if clicked, a zone as if
// clicked at its answer mark, a number field takes the keyboard.
void pressItem(Item& item);

// The last pointer position seen by any display window, as unsigned 16-bit values.
Point lastMousePosition();

} // namespace lorvenna

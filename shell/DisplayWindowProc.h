// The window procedure of the display windows: clicks, control notifications, scroll
// requests and item timer ticks become calls on the display's items.
#pragma once

class ChildWindowProc;

ChildWindowProc* displayWindowProc();

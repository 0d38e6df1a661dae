// The page as assistive technology reads it and as the keyboard reaches it: what each item
// is called and what it is, which items Tab stops at, and what is said when a question is
// asked.
#pragma once

#include "platform/AccessibleNode.h"

#include <string>

namespace lorvenna {

struct Display;
class Item;

// The display's name and the items it shows, in the order of its item list: what a screen
// reader reads. Hidden items, timers and figures that only decorate are left out.
AccessibleView describeDisplay(const Display& display);

// Whether Tab stops at the item and Space or Enter presses it (a number field is typed in):
// shown buttons, highlighters and sliders, number fields, zones that can be clicked, and the
// texts and captions whose click lights something up.
bool takesKeyboard(const Item& item);
// Where the focus ring goes around the item, in the display's client coordinates.
Rect keyboardRect(const Item& item);

// What is said when question becomes the one asked: "Question: " and its words.
std::string questionAnnouncement(const Item& question);

} // namespace lorvenna

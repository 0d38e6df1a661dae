// Helpers for the tests of the items that move things: a receiver that adds up what it is
// sent, a paper display with a real window for timers and controls, and the places of a
// scroll bar's parts.
#pragma once

#include "items/Item.h"
#include "platform/ChildWindow.h"
#include "platform/QtChildWindow.h"
#include "shell/DisplayWindowProc.h"
#include "tests/items/types/ItemBench.h"

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>

#include <string>
#include <vector>

namespace lorvenna {

// Adds up the values it receives and keeps every input name in order.
class Tally : public Item {
public:
    void Input(const char* name, double value, const Pose*) override {
        names.emplace_back(name);
        values.push_back(value);
        sum += value;
    }
    std::vector<std::string> names;
    std::vector<double> values;
    double sum = 0.0;
};

// Gives the paper display a real offscreen window with the display window procedure, so
// that its items can make controls and run timers.
inline ChildWindow& openWindow(PaperDisplay& paper) {
    const Rect& r = paper.display.clientRect;
    paper.display.window = createQtChildWindow(nullptr, 900, Rect{0, 0, r.right + 2, r.bottom + 2},
                                               displayWindowProc());
    paper.display.window->setUserData(&paper.display);
    return *paper.display.window;
}

// One tick of the item's timer as the display window delivers it.
inline void tickOnce(Item* item) {
    displayWindowProc()->timer(*item->display->window, item);
}

// A part of a scroll bar (an arrow, the trough, the thumb), in its coordinates.
inline QRect partRect(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

// The middle of such a part.
inline QPoint partOf(QScrollBar* bar, QStyle::SubControl part) {
    return partRect(bar, part).center();
}

} // namespace lorvenna

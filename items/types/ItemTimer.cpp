// The TIMER item.
#include "items/types/ItemTimer.h"

#include "items/Connection.h"
#include "items/Display.h"
#include "items/Drawing.h"
#include "platform/ChildWindow.h"
#include "platform/LineMatcher.h"

#include <climits>
#include <cmath>
#include <numbers>

namespace lorvenna {

namespace {

// SINE lines give degrees; the wave turns the other way round, as screen angles do.
double reversedRadians(double degrees) {
    return -degrees * 2.0 * std::numbers::pi / 360.0;
}

} // namespace

ItemTimer::ItemTimer() {
    type = ItemType::Timer;
    running = true; // waits for the page start
    step = 1.0;
    maximum = 1.0;
    mode = kTimerConstant;
}

ItemTimer::~ItemTimer() {
    stop();
}

bool ItemTimer::StartupAction() {
    if (running)
        start();
    return true;
}

Status ItemTimer::ReadCommand(const char* line) {
    if (containsText(line, "STOP")) {
        running = false;
        return {};
    }
    LineMatcher m(line);
    double amplitudeStep = 0.0;
    double startPhase = 0.0;
    if (m.keyword("SINE") && m.number(amplitudeStep) && m.number(startPhase)) {
        mode = kTimerSine;
        step = reversedRadians(amplitudeStep);
        phase = reversedRadians(startPhase);
        return {};
    }
    return unknownLine();
}

void ItemTimer::Input(const char* name, double value, const Pose*) {
    if (running && containsText(name, "TICK")) {
        tick();
    } else if (containsText(name, "START")) {
        start();
    } else if (containsText(name, "STOP")) {
        stop();
        return;
    } else if (containsText(name, "TOGGLE")) {
        if (running)
            stop();
        else
            start();
    } else if (containsText(name, "STEP")) {
        step = value;
    } else if (containsText(name, "MSEC")) {
        msec = truncateToInt(value);
        if (running)
            start();
    }
    repaintAllDisplays();
}

void ItemTimer::start() {
    running = true;
    ticks = 0;
    // Starting again replaces the running timer; the window raises a period of 0 to its
    // shortest one.
    if (display && display->window)
        display->window->startTimer(this, msec);
}

void ItemTimer::stop() {
    running = false;
    if (display && display->window)
        display->window->stopTimer(this);
}

void ItemTimer::tick() {
    double out = step;
    if (mode == kTimerSine) {
        const double before = std::sin(phase);
        phase += step;
        out = std::sin(phase) - before;
    }
    SendOutputs(*this, out, false);
    if (endOutputs) {
        if (ticks < INT_MAX)
            ++ticks;
        if (ticks == truncateToInt(maximum)) {
            ticks = 0;
            stop();
            SendEndOutputs(*this, out, false);
        }
    }
    repaintAllDisplays();
}

} // namespace lorvenna

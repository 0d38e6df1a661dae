// Start-up: the checks of the working folder, the main window, and the program's run.
#pragma once

#include "shell/Controller.h"

#include <memory>

namespace lorvenna {

class MainWindow;

// Lessons in LSNS and pictures in BMPS; false, after telling the user, when either is
// missing.
bool checkWorkingFolder();

// The checks, the screen and scale, the main window shown maximised, and the random
// generator seeded from the clock. nullptr when the program cannot start.
std::unique_ptr<MainWindow> startUp(ControllerSteps steps = ControllerSteps::real());

// Runs the program in the current folder once the application object exists: start-up,
// state 0, then the event loop until the fatal exit. The exit code is always 0.
int runProgram();

} // namespace lorvenna

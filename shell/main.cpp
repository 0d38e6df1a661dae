// Program entry: start-up, then the controller runs the session from state 0.
#include "shell/StartUp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The program ends only through its fatal exit, never because a window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    return RunProgram();
}

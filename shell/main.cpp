// Program entry: start-up, then the controller runs the session from state 0.
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}

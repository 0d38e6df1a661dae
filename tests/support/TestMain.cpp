// Test entry: real widgets on Qt's offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // as the program does
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

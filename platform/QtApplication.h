// Include this instead of <QApplication> or <QGuiApplication>: Qt's application header
// declares the X11 type "Display" at global scope, which is also the name of our display
// record (lesson/Display.h). The macro renames Qt's declaration while it is read.
#pragma once

#define Display QtX11Display
#include <QApplication>
#include <QGuiApplication>
#undef Display

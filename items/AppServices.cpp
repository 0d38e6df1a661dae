// The installed main window's services, and the silent stand-in used while there is none.
#include "items/AppServices.h"

#include "platform/ChildWindow.h"

#include <QWidget>

namespace lorvenna {

std::unique_ptr<ChildWindow> SilentServices::createDisplayWindow(Display*, int, const Rect&) {
    return nullptr;
}

namespace {

SilentServices silent;
AppServices* installed = nullptr;

} // namespace

AppServices& appServices() {
    return installed ? *installed : silent;
}

void installAppServices(AppServices* services) {
    installed = services;
}

bool appServicesInstalled() {
    return installed != nullptr;
}

QWidget* dialogOwner() {
    return dynamic_cast<QWidget*>(installed);
}

} // namespace lorvenna

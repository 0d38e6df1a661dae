// The recording stand-in for the main window's services.
#include "tests/support/FakeApp.h"

#include "platform/ChildWindow.h"
#include "platform/QtChildWindow.h"
#include "shell/DisplayWindowProc.h"

namespace lorvenna {

FakeApp::FakeApp() {
    installAppServices(this);
}

FakeApp::~FakeApp() {
    if (&appServices() == this)
        installAppServices(nullptr);
}

const Picture& FakeApp::picture(PictureId id) {
    auto it = pictures_.find(id);
    if (it == pictures_.end())
        it = pictures_.emplace(id, Picture::resource(id)).first;
    return it->second;
}

std::unique_ptr<ChildWindow> FakeApp::createDisplayWindow(Display*, int id, const Rect& rect) {
    windowRects.push_back(rect);
    if (failWindows)
        return nullptr;
    return createQtChildWindow(nullptr, id, rect, displayWindowProc());
}

} // namespace lorvenna

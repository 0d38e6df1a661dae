// The recording stand-in for the main window's services.
#include "tests/support/FakeApp.h"

#include "platform/ChildWindow.h"
#include "platform/QtChildWindow.h"
#include "shell/DisplayWindowProc.h"
#include "shell/SessionState.h"

namespace lorvenna {

FakeApp::FakeApp() {
    session().mainWindow = this;
}

FakeApp::~FakeApp() {
    if (session().mainWindow == this)
        session().mainWindow = nullptr;
}

const Picture& FakeApp::picture(int number) {
    auto it = pictures_.find(number);
    if (it == pictures_.end())
        it = pictures_.emplace(number, Picture::resource(number)).first;
    return it->second;
}

std::unique_ptr<ChildWindow> FakeApp::createDisplayWindow(Display*, int id, const Rect& rect) {
    windowRects.push_back(rect);
    if (failWindows)
        return nullptr;
    return createQtChildWindow(nullptr, id, rect, displayWindowProc());
}

} // namespace lorvenna

// The installed main window's services, and the silent stand-in used while there is none.
#include "items/AppServices.h"

#include "platform/ChildWindow.h"

#include <QWidget>

namespace lorvenna {

namespace {

class SilentServices : public AppServices {
public:
    void postState(StateCode, int) override {}
    void focusMainWindow() override {}
    void setCaption(std::string_view) override {}
    void showFeedbackPanel(std::string_view, int, int) override {}
    void hideFeedbackPanel() override {}
    void startControllerTimer() override {}
    void killControllerTimer() override {}
    void drawStatusText(std::string_view) override {}
    void drawPageStrip() override {}
    const Picture& picture(PictureId) override { return empty_; }
    std::unique_ptr<ChildWindow> createDisplayWindow(Display*, int, const Rect&) override {
        return nullptr;
    }

private:
    Picture empty_;
};

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

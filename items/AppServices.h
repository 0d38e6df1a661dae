// What the rest of the program asks of the main window. The main window implements it;
// tests of the plain logic may put a recording stand-in in its place.
#pragma once

#include "items/Codes.h"
#include "platform/Geometry.h"
#include "platform/Picture.h"

#include <memory>
#include <string_view>

class QWidget;

namespace lorvenna {

class ChildWindow;
struct Display;

class AppServices {
public:
    virtual ~AppServices() = default;

    // Posts the controller message with a state code (and the page number for ShowPage).
    virtual void postState(StateCode code, int page = 0) = 0;
    virtual void focusMainWindow() = 0;
    virtual void setCaption(std::string_view caption) = 0;

    // The feedback panel: a framed text at (4, 4) of the page, width x height in page units.
    virtual void showFeedbackPanel(std::string_view text, int width, int height) = 0;
    virtual void hideFeedbackPanel() = 0;

    // The controller timer (id 2000, every 300 ms) that measures the answer pause.
    virtual void startControllerTimer() = 0;
    virtual void killControllerTimer() = 0;

    // Drawn on the main window in statusRect.
    virtual void drawStatusText(std::string_view text) = 0;
    virtual void drawPageStrip() = 0;

    // Says text to a screen reader as it happens (a page shown, a question asked, an answer
    // judged); what is said in one pass of the event loop is said together.
    virtual void announce(std::string_view /*text*/) {}

    // The answer marks and page markers, loaded at start-up.
    virtual const Picture& picture(PictureId id) = 0;

    // A display window: child of the main window at rect (already converted), thin border.
    // It may be made hidden: ReadLsn shows it once its block is read. Returns nullptr when no
    // window could be made.
    virtual std::unique_ptr<ChildWindow> createDisplayWindow(Display* display, int id,
                                                             const Rect& rect) = 0;
};

// Services that draw, show and post nothing and make no window: the stand-in while no main
// window is installed, and a base for services that want only a few of the window's.
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
    std::unique_ptr<ChildWindow> createDisplayWindow(Display*, int, const Rect&) override;

private:
    Picture empty_;
};

// The main window's services as the rest of the program reaches them: the window installed,
// or while there is none (tools, tests of the plain logic, the moments before the window is
// made) a silent stand-in that draws, shows and posts nothing and makes no window.
AppServices& appServices();
// Installs services (nullptr: the silent stand-in again). The main window installs itself
// for its life; so do the tests' stand-ins.
void installAppServices(AppServices* services);
// Whether a main window (or a test's stand-in) is installed.
bool appServicesInstalled();
// The window the program's dialogs belong to: the installed services' window, if they are one.
QWidget* dialogOwner();

} // namespace lorvenna

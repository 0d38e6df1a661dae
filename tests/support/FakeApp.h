// A recording stand-in for the main window's services, for tests of the logic without the
// main window. The display windows it makes are real offscreen display windows (top-level
// widgets) with the real display window procedure.
#pragma once

#include "items/AppServices.h"
#include "platform/Picture.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lorvenna {

class FakeApp : public AppServices {
public:
    FakeApp(); // installs itself as the app services
    ~FakeApp() override;

    void postState(StateCode code, int page) override { posted.push_back({code, page}); }
    void focusMainWindow() override { ++focusCount; }
    void setCaption(std::string_view c) override { caption = std::string(c); }
    void showFeedbackPanel(std::string_view text, int w, int h) override {
        panelText = std::string(text);
        panelWidth = w;
        panelHeight = h;
        panelVisible = true;
    }
    void hideFeedbackPanel() override { panelVisible = false; }
    void startControllerTimer() override { ++timerStarts; }
    void killControllerTimer() override { ++timerKills; }
    void drawStatusText(std::string_view text) override { statusTexts.emplace_back(text); }
    void drawPageStrip() override { ++pageStripCount; }
    const Picture& picture(PictureId id) override;
    std::unique_ptr<ChildWindow> createDisplayWindow(Display* display, int id,
                                                     const Rect& rect) override;

    struct Posted {
        StateCode code;
        int page;
        bool operator==(const Posted&) const = default;
    };
    std::vector<Posted> posted;
    int focusCount = 0;
    std::string caption;
    std::string panelText;
    int panelWidth = 0;
    int panelHeight = 0;
    bool panelVisible = false;
    std::vector<std::string> statusTexts;
    int pageStripCount = 0;
    int timerStarts = 0;
    int timerKills = 0;
    bool failWindows = false; // createDisplayWindow returns nullptr
    std::vector<Rect> windowRects;

private:
    std::map<PictureId, Picture> pictures_;
};

} // namespace lorvenna

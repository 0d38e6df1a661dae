// An item for the shell and page tests that records every operation that reaches it.
#pragma once

#include "items/Item.h"

#include <string>
#include <vector>

namespace lorvenna {

// The log all probes write to, in call order: "title:operation".
inline std::vector<std::string>& probeLog() {
    static std::vector<std::string> log;
    return log;
}

class ProbeItem : public Item {
public:
    explicit ProbeItem(const std::string& name, Rect box = {}) {
        title = name;
        bounds = box;
        area = box.width() * box.height();
    }
    ~ProbeItem() override { note("deleted"); }

    bool StartupAction() override { return note("startup"), startupResult; }
    Status Connect() override { return note("connect"), Item::Connect(); }
    bool Click(Display*, int message, int x, int y) override {
        note("click " + std::to_string(message) + " " + std::to_string(x) + "," +
             std::to_string(y));
        return true;
    }
    void Draw() override { note("draw"); }
    void Input(const char* name, double, const Pose*) override { note(name); }
    bool Command(unsigned notification) override {
        note("command " + std::to_string(notification >> 16));
        return commandResult;
    }
    bool Scroll(ScrollRequest, Control*) override { return note("scroll"), scrollResult; }

    bool startupResult = true;
    bool commandResult = false;
    bool scrollResult = false;

private:
    void note(const std::string& what) { probeLog().push_back(title + ":" + what); }
};

} // namespace lorvenna

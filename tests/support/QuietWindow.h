// A main window for a controller under test that does nothing of its own.
#pragma once

#include "shell/Controller.h"

namespace lorvenna {

class QuietWindow : public ControllerWindow {
public:
    void enableNoteButton() override {}
    void restoreWindow() override {}
    void discardPendingInput() override {}
    void destroyWindow() override {}
};

} // namespace lorvenna

// The TEXT item: running text wrapped at the display's right margin, which pulses its
// outputs while the student reads it.
#pragma once

#include "items/Item.h"

namespace lorvenna {

// A block of text at its location, wrapped at 10 pixels before the display's right edge. A
// click stops the pulsing of every other TEXT item and, when the item has outputs, sends 0
// along them at every tick of a 300 ms timer until it is stopped. A TEXT holding answer keys
// is a question's prompt: it is drawn only while its question is current.
class ItemText : public Item {
public:
    ItemText();
    ~ItemText() override;

    bool StartupAction() override;
    void MakeRegion() override;
    bool Click(Display* display, int message, int x, int y) override;
    Status ReadCommand(const char* line) override;
    void Draw() override;
    void Input(const char* name, double value, const Pose* motion) override;

private:
    void stopTimer();
};

// The pulse period of a clicked TEXT item.
inline constexpr int kTextPulseMilliseconds = 300;

} // namespace lorvenna

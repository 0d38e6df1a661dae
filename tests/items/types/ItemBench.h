// Benches for the item tests: a lesson played in a temporary working folder through the
// real page builder and real offscreen display windows, and a display on paper whose items
// draw on recording surfaces.
#pragma once

#include "items/Display.h"
#include "platform/Clock.h"
#include "platform/Diagnostic.h"
#include "platform/MessageBox.h"
#include "platform/Picture.h"
#include "tests/support/FakeApp.h"
#include "tests/support/QuietWindow.h"
#include "tests/support/RecordingSurface.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestClock.h"
#include "tests/support/WorkFolder.h"

#include <memory>
#include <string>
#include <string_view>

class QWidget;

namespace lorvenna {

class Item;

// Puts the session back to its start values when made, before the members that follow it.
struct FreshSession {
    FreshSession();
};

// A lesson file "LSNS\01-01.LSN" in a temporary working folder, its pages built by the real
// page builder; the main window's services are recorded by FakeApp, the clock is a test
// clock, message boxes are scripted.
class LessonBench {
public:
    LessonBench();
    ~LessonBench();

    // Writes the lesson (CR LF line ends) and reads its index.
    Status load(std::string_view lesson);
    // Builds a page as the controller's state 11 does.
    Status build(int page);
    // The message of the last load or build; empty after a success.
    const std::string& lastMessage() const { return last_.message(); }
    // The item with this title on the displays shown, or nullptr.
    Item* item(std::string_view title) const;
    Display* display(int slot) const;

    // A real click on the push button of a BUTTON item.
    void press(Item* button) const;
    // The widget of an item's control, or nullptr.
    QWidget* controlWidget(Item* item) const;
    // The display window procedure's left click at (x, y) in the display's client area.
    void clickDisplay(int slot, int x, int y) const;

    FreshSession fresh;
    WorkFolder folder;
    FakeApp app;
    ScriptedBoxes boxes;
    TestClock clock;

private:
    Status last_;
};

// A display without a window: items draw on `surface`, marks go to `screen`. It stands in
// the given slot of the page shown while it lives.
class PaperDisplay {
public:
    explicit PaperDisplay(int slot = 1, int width = 400, int height = 300);
    ~PaperDisplay();
    PaperDisplay(const PaperDisplay&) = delete;
    PaperDisplay& operator=(const PaperDisplay&) = delete;

    // Reads an ITEM block (the lines after the ITEM line) into item and appends the item to
    // the display. Returns the item, or nullptr when the block fails (lastMessage says why).
    template <class T> T* add(const char* title, std::string_view lines) {
        auto item = std::make_unique<T>();
        T* raw = item.get();
        return read(std::move(item), title, lines) ? raw : nullptr;
    }

    // The message of the last block read; empty after a success.
    const std::string& lastMessage() const { return last_.message(); }

    RecordingSurface surface;
    RecordingSurface screen;
    Display display;

private:
    bool read(std::unique_ptr<Item> item, const char* title, std::string_view lines);

    int slot_;
    WorkFolder folder_;
    Status last_;
};

// What the user sees at (x, y) of a display's window, marks included.
Color shownColor(Display* display, int x, int y);
// Whether the picture appears unchanged in the window's screen with its corner at (x, y).
bool showsPicture(Display* display, const Picture& picture, int x, int y);

} // namespace lorvenna

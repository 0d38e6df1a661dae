// A display's child window as the rest of the program sees it: surfaces to draw on, child
// controls, item timers and a window procedure that receives its messages. The Qt widget
// behind it lives in platform/QtChildWindow.
#pragma once

#include "platform/AccessibleNode.h"
#include "platform/Control.h"
#include "platform/Geometry.h"

#include <memory>
#include <string_view>

namespace lorvenna {

class ChildWindow;
class Surface;

// The window procedure of the display window class: every message of every display window
// goes to it, with the window it belongs to.
class ChildWindowProc {
public:
    virtual ~ChildWindowProc() = default;
    virtual void paint(ChildWindow& window) = 0;
    virtual void controlNotification(ChildWindow& window, unsigned notification) = 0;
    virtual void timer(ChildWindow& window, const void* key) = 0;
    virtual void scrollRequest(ChildWindow& window, ScrollRequest request, Control* control) = 0;
    virtual void mouseMove(ChildWindow& window, int x, int y) = 0;
    virtual void leftButtonDown(ChildWindow& window, int x, int y) = 0;
    // What the window shows, for assistive technology; a window that says nothing by default.
    virtual AccessibleView accessibleView(ChildWindow& /*window*/) { return {}; }
    // Assistive technology presses the node with this key, as Space would.
    virtual void accessiblePress(ChildWindow& /*window*/, const void* /*key*/) {}
};

class ChildWindow {
public:
    virtual ~ChildWindow() = default;

    virtual int id() const = 0;
    // In page units, as are every position the window hands on and every rectangle it takes.
    virtual Rect clientRect() const = 0;
    // The window's user data: the Display it shows.
    virtual void setUserData(void* data) = 0;
    virtual void* userData() const = 0;

    // The display's off-screen picture: what the items draw; shown at the next paint.
    virtual Surface& imageSurface() = 0;
    // Drawing "straight to the screen": an overlay over the picture, cleared by clearOverlay.
    virtual Surface& screenSurface() = 0;
    virtual void clearOverlay() = 0;
    // Asks for the window to show its picture and overlay again (ignored while painting).
    virtual void present() = 0;
    // Shows a window that was made hidden, with its controls; does nothing to a shown one.
    virtual void show() = 0;

    virtual std::unique_ptr<Control> createButton(int id, const Rect& rect,
                                                  std::string_view caption) = 0;
    virtual std::unique_ptr<Control> createEdit(int id, const Rect& rect,
                                                std::string_view text) = 0;
    // A scroll bar whose arrows, trough, thumb and keys become scroll requests.
    virtual std::unique_ptr<Control> createScrollBar(int id, const Rect& rect, bool vertical) = 0;

    // Item timers: keyed by the item that starts them; starting again replaces the running
    // one. Each tick goes to the window procedure's timer with the key. A period below the
    // shortest one the window keeps (0, say) is raised to it.
    virtual void startTimer(const void* key, int milliseconds) = 0;
    virtual void stopTimer(const void* key) = 0;
    virtual bool timerRunning(const void* key) const = 0;

    virtual void setPointCursor(bool point) = 0;

    // Places the window, its picture and its controls anew after the screen's scale has
    // changed. The picture is then blank and the overlay clear: the display must be drawn
    // again.
    virtual void rescale() {}

    // The keyboard's place on the window: a ring drawn around rect, told to assistive
    // technology as the focus on the node with this key. nullptr takes the ring away.
    virtual void setFocusRing(const void* /*key*/, const Rect& /*rect*/) {}
    virtual const void* focusRingKey() const { return nullptr; }
};

} // namespace lorvenna

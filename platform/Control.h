// A child control of a display window (push button, edit field, scroll bar), seen by the
// items through this interface. Notifications travel the other way, as notification words
// (code in the high 16 bits, control id in the low 16) handed to the display window.
#pragma once

#include "platform/Geometry.h"

#include <string>
#include <string_view>

namespace lorvenna {

// Notification codes, as the controls report them.
inline constexpr int kNotifyClicked = 0x000;
inline constexpr int kNotifySetFocus = 0x100;
inline constexpr int kNotifyChanged = 0x400;

inline unsigned notificationWord(int code, int controlId) {
    return (static_cast<unsigned>(code) << 16) | (static_cast<unsigned>(controlId) & 0xFFFFu);
}

class Control {
public:
    virtual ~Control() = default;
    virtual int id() const = 0;
    virtual void show(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void invalidate() = 0;
    // Setting the text never reports a change back as typed input.
    virtual void setText(std::string_view text) = 0;
    // At most maxBytes - 1 bytes of the text, as a fixed-size read would give them.
    virtual std::string text(int maxBytes) const = 0;
    virtual void setFocus() = 0;
    virtual Rect geometry() const = 0;

    // Scroll bars only (other controls ignore them): the range and the thumb's position, and
    // where the student let go of the thumb, the position a ThumbPosition request carries.
    // While the student holds the thumb it stays under the pointer whatever is set.
    virtual void setScrollInfo(int /*minimum*/, int /*maximum*/, int /*position*/) {}
    virtual int scrollPosition() const { return 0; }
    virtual int trackPosition() const { return 0; }
};

// Scroll bar requests, mapped from the platform's scroll bar actions.
enum class ScrollRequest {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbPosition,
    ThumbTrack,
    EndScroll,
    Top,
    Bottom
};

} // namespace lorvenna

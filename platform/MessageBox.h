// Message boxes: the caption is the window title and a bold headline above the text.
#pragma once

#include <string>
#include <string_view>

namespace lorvenna {

enum class BoxButtons { Ok, RetryCancel, OkCancel, YesNo };
enum class BoxAnswer { Ok, Retry, Cancel, Yes, No };

BoxAnswer messageBox(std::string_view caption, std::string_view text,
                     BoxButtons buttons = BoxButtons::Ok);

// A box with an OK button that only Enter or a click answers, for a confirmation that typing
// may run into (a note box that saved itself when it filled up): keys already on their way
// when it comes are dropped, and while it is up so is every key but Enter, so nothing typed
// reaches the window behind it.
BoxAnswer confirmBox(std::string_view caption, std::string_view text);

struct BoxRecord {
    std::string caption;
    std::string text;
    BoxButtons buttons = BoxButtons::Ok;
};

// What answers the boxes instead of showing them; the tests install one.
class BoxResponder {
public:
    virtual ~BoxResponder() = default;
    virtual BoxAnswer respond(const BoxRecord& record) = 0;
};

// Installs responder (nullptr: boxes are shown again) and returns the one it replaces.
BoxResponder* installBoxResponder(BoxResponder* responder);

// The answer of a box's first button, which Enter would press.
BoxAnswer firstButton(BoxButtons buttons);

} // namespace lorvenna

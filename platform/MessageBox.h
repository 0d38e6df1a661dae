// Message boxes: the caption is the window title and a bold headline above the text.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

enum class BoxButtons { Ok, RetryCancel, OkCancel, YesNo };
enum class BoxAnswer { Ok, Retry, Cancel, Yes, No };

BoxAnswer messageBox(std::string_view caption, std::string_view text,
                     BoxButtons buttons = BoxButtons::Ok);

struct BoxRecord {
    std::string caption;
    std::string text;
    BoxButtons buttons = BoxButtons::Ok;
};

// Tests install a scripted responder: every box is recorded and answered from the queue
// (or with the first button when the queue is empty) without showing anything.
class ScriptedBoxes {
public:
    ScriptedBoxes();
    ~ScriptedBoxes();
    ScriptedBoxes(const ScriptedBoxes&) = delete;
    ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;

    void queue(BoxAnswer answer) { answers_.push_back(answer); }
    // Called when a box is shown, before it is answered (to act as the user would).
    void onShow(std::function<void(const BoxRecord&)> hook) { hook_ = std::move(hook); }
    const std::vector<BoxRecord>& shown() const { return shown_; }
    BoxAnswer respond(const BoxRecord& record);

private:
    std::vector<BoxAnswer> answers_;
    std::vector<BoxRecord> shown_;
    std::function<void(const BoxRecord&)> hook_;
    ScriptedBoxes* previous_ = nullptr; // the responder installed before this one
};

} // namespace lorvenna

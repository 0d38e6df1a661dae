// Message boxes in tests: every box is recorded and answered from a queue (or with its first
// button when the queue is empty) without showing anything.
#pragma once

#include "platform/MessageBox.h"

#include <functional>
#include <vector>

namespace lorvenna {

class ScriptedBoxes : public BoxResponder {
public:
    ScriptedBoxes();
    ~ScriptedBoxes() override;
    ScriptedBoxes(const ScriptedBoxes&) = delete;
    ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;

    void queue(BoxAnswer answer) { answers_.push_back(answer); }
    // Called when a box is shown, before it is answered (to act as the user would).
    void onShow(std::function<void(const BoxRecord&)> hook) { hook_ = std::move(hook); }
    const std::vector<BoxRecord>& shown() const { return shown_; }
    BoxAnswer respond(const BoxRecord& record) override;

private:
    std::vector<BoxAnswer> answers_;
    std::vector<BoxRecord> shown_;
    std::function<void(const BoxRecord&)> hook_;
    BoxResponder* previous_ = nullptr; // the responder installed before this one
};

} // namespace lorvenna

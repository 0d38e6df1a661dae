// Message boxes in the tools: none is shown (the tools run where no screen is); each is
// remembered and answered with its first button, as Enter would.
#pragma once

#include "platform/MessageBox.h"

#include <vector>

namespace lorvenna {

class SilentBoxes : public BoxResponder {
public:
    SilentBoxes() : previous_(installBoxResponder(this)) {}
    ~SilentBoxes() override { installBoxResponder(previous_); }
    SilentBoxes(const SilentBoxes&) = delete;
    SilentBoxes& operator=(const SilentBoxes&) = delete;

    const std::vector<BoxRecord>& shown() const { return shown_; }
    BoxAnswer respond(const BoxRecord& record) override {
        shown_.push_back(record);
        return firstButton(record.buttons);
    }

private:
    std::vector<BoxRecord> shown_;
    BoxResponder* previous_ = nullptr;
};

} // namespace lorvenna

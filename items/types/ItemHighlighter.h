// The HIGHLIGHTER item: a push button that makes its targets blink.
#pragma once

#include "items/Item.h"

namespace lorvenna {

// Pressed, it stops every other highlighter of the page and sends 1 along its outputs every
// 300 ms (FLASH to labels and zones, say) until it is stopped: by another highlighter, or by
// the page change. Stopping puts its targets back to their initial visibility. Only one
// highlighter of a page pulses at a time. It answers no question.
class ItemHighlighter : public Item {
public:
    ItemHighlighter();
    ~ItemHighlighter() override;

    bool EndDefinition() override;
    void Draw() override;
    void Input(const char* name, double value, const Pose* motion) override;
    bool Command(unsigned notification) override;

private:
    void cancelTimer();
};

// The pulse period of a pressed highlighter.
inline constexpr int kHighlighterPulseMilliseconds = 300;

} // namespace lorvenna

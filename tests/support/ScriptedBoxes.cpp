// Message boxes in tests: recorded and answered from a queue.
#include "tests/support/ScriptedBoxes.h"

namespace lorvenna {

ScriptedBoxes::ScriptedBoxes() : previous_(installBoxResponder(this)) {}

ScriptedBoxes::~ScriptedBoxes() {
    installBoxResponder(previous_);
}

BoxAnswer ScriptedBoxes::respond(const BoxRecord& record) {
    shown_.push_back(record);
    if (hook_)
        hook_(record);
    if (answers_.empty())
        return firstButton(record.buttons);
    const BoxAnswer answer = answers_.front();
    answers_.erase(answers_.begin());
    return answer;
}

} // namespace lorvenna

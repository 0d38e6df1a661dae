// The answer flow of the session record and the operations that change it.
#include "items/AnswerFlow.h"

#include "items/Item.h"
#include "items/KeyEntry.h"
#include "platform/FixedText.h"

namespace lorvenna {

void AnswerFlow::startQuestion(Item& question) {
    currentQuestion_ = &question;
    currentKeyKinds_ = question.keyKinds;
    questionActive_ = true;
    question.isCurrentQuestion = true;
    advanceAfterAnswer_ = (question.keyKinds & kKeyAutoTurn) != 0;
}

void AnswerFlow::takeQuestion(Item& question, Display* display) {
    questionActive_ = true;
    currentQuestion_ = &question;
    currentKeyKinds_ = question.keyKinds;
    feedbackDisplay_ = display;
}

void AnswerFlow::clearQuestion() {
    // A question left unanswered on a display the new page keeps is asked no more: its
    // prompt must not stay on the screen as if it were.
    if (currentQuestion_)
        currentQuestion_->isCurrentQuestion = false;
    questionActive_ = false;
    currentQuestion_ = nullptr;
    chosenItem_ = nullptr;
    clearPicks();
}

void AnswerFlow::closeQuestion() {
    if (currentQuestion_)
        currentQuestion_->isCurrentQuestion = false;
    if (chosenItem_)
        chosenItem_->ClearAnswer();
    questionActive_ = false;
    chosenItem_ = nullptr;
}

void AnswerFlow::choose(Item* item, Display* display) {
    chosenItem_ = item;
    feedbackDisplay_ = display;
}

void AnswerFlow::setMark(int x, int y) {
    markX_ = x;
    markY_ = y;
}

void AnswerFlow::addPick(std::string_view text) {
    appendText(picksText_, picksText_[0] ? "\n" : "You chose:\n");
    appendText(picksText_, text);
}

void AnswerFlow::moveFeedbackTo(Display* display) {
    if (feedbackDisplay_ && feedbackDisplay_ != display)
        strayMarks_ = feedbackDisplay_;
    feedbackDisplay_ = display;
}

Display* AnswerFlow::takeStrayMarks() {
    Display* stray = strayMarks_;
    strayMarks_ = nullptr;
    return stray != feedbackDisplay_ ? stray : nullptr;
}

void AnswerFlow::forgetDisplay(const Display* display) {
    if (feedbackDisplay_ == display)
        feedbackDisplay_ = nullptr;
    if (strayMarks_ == display)
        strayMarks_ = nullptr;
    if (chosenItem_ && chosenItem_->display == display)
        chosenItem_ = nullptr;
    if (currentQuestion_ && currentQuestion_->display == display) {
        currentQuestion_ = nullptr;
        questionActive_ = false;
    }
}

void AnswerFlow::forgetItem(const Item* item) {
    if (chosenItem_ == item)
        chosenItem_ = nullptr;
    if (currentQuestion_ == item)
        currentQuestion_ = nullptr;
}

} // namespace lorvenna

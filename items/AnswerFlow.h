// The answer flow: which question is being asked, what the student answered with, and where
// the marks go. One object of the session record; only its operations change it.
#pragma once

#include <cstdint>
#include <string_view>

namespace lorvenna {

class Item;
struct Display;

class AnswerFlow {
public:
    bool questionActive() const { return questionActive_; }
    Item* currentQuestion() const { return currentQuestion_; }
    std::int32_t currentKeyKinds() const { return currentKeyKinds_; }
    Item* chosenItem() const { return chosenItem_; }
    Display* feedbackDisplay() const { return feedbackDisplay_; }
    double typedNumber() const { return typedNumber_; }
    int markX() const { return markX_; }
    int markY() const { return markY_; }
    // KEYAND: "You chose:" and the texts of the items picked so far.
    const char* picksText() const { return picksText_; }
    // The current question turns the page when its pause ends.
    bool advanceAfterAnswer() const { return advanceAfterAnswer_; }

    // Makes question the current one and marks it as such.
    void startQuestion(Item& question);
    // A number field with keys asks its own question when it gains the focus.
    void takeQuestion(Item& question, Display* display);
    // No question on the page: the current one, if any, is unmarked and nothing of an
    // earlier answer carries over.
    void clearQuestion();
    // The question's pause is over: it is unmarked, the answering item's response erased.
    // The question stays current so that the next one can be found after it.
    void closeQuestion();
    // The last question of the display is over.
    void noMoreQuestions() { currentQuestion_ = nullptr; }

    // The student answered with item (none for a click on no item) on display.
    void choose(Item* item, Display* display);
    void setMark(int x, int y);
    void typeNumber(double value) { typedNumber_ = value; }
    void addPick(std::string_view text);
    void clearPicks() { picksText_[0] = '\0'; }
    // The marks go to another display (KEYSHOW shows the right spots where they are); the
    // display that had them keeps its mark until takeStrayMarks hands it over for a repaint.
    void moveFeedbackTo(Display* display);
    Display* takeStrayMarks();
    // The page turn asked for by the last answer has been handled.
    void clearAdvance() { advanceAfterAnswer_ = false; }

    // A display or an item is going away: nothing may keep pointing at it.
    void forgetDisplay(const Display* display);
    void forgetItem(const Item* item);

private:
    bool questionActive_ = false;
    Item* currentQuestion_ = nullptr;
    std::int32_t currentKeyKinds_ = 0;
    Item* chosenItem_ = nullptr;
    Display* feedbackDisplay_ = nullptr;
    double typedNumber_ = 0.0;
    int markX_ = 0;
    int markY_ = 0;
    char picksText_[512] = {};
    bool advanceAfterAnswer_ = false;
    Display* strayMarks_ = nullptr;
};

} // namespace lorvenna

// Answering the questions of the page shown from their own answer keys, as a student who
// knows the keys would: the keyed button pressed, every KEYAND item picked, the KEYNUM value
// typed, a point inside the keyed zone clicked.
#pragma once

#include "items/Item.h"
#include "shell/Controller.h"
#include "tools/common/SteppedClock.h"

#include <memory>
#include <string>
#include <vector>

namespace lorvenna {

enum class PlayOutcome {
    Right,
    Wrong,
    NotJudged,     // the answer was given but no judgement followed
    NoWayToAnswer, // the keys name nothing the student could answer with
};

struct PlayedQuestion {
    Item* question = nullptr; // valid while its display lives
    std::string title;
    PlayOutcome outcome = PlayOutcome::NotJudged;
    std::string detail; // what went wrong, for the report
    // Where the judge put the mark: the answering item, its display and the mark's top left
    // corner; no display when nothing was judged.
    Item* chosen = nullptr;
    Display* markDisplay = nullptr;
    Point mark;
};

// Drives the page through the display window procedure and the answer flow; the pause after
// an answer ends on a test clock through the controller's own tick, so nothing waits on the
// wall clock. Works with whatever main window services are installed (the main window, or a
// test stand-in).
class SelfPlay {
public:
    SelfPlay();
    ~SelfPlay();
    SelfPlay(const SelfPlay&) = delete;
    SelfPlay& operator=(const SelfPlay&) = delete;

    // Answers the question asked now and leaves its marks and comment on the screen; the
    // pause runs until endPause.
    // With right false, the question is answered wrong instead: another button or place than
    // the keyed ones, or a number outside the keyed range.
    PlayedQuestion answerCurrentQuestion(bool right = true);
    // Ends the pause of the last answer as the controller's tick does once its time is up:
    // the next question of the display is asked, or the page turn is asked for.
    void endPause();
    // Answers the questions of the page one after another until none is asked any more.
    std::vector<PlayedQuestion> playPage();

private:
    class QuietWindow;

    bool press(Item& item, std::string& detail);
    bool type(Item& item, double value, std::string& detail);
    bool clickOn(Item& item, std::string& detail);
    bool answerWrong(Item& question, const std::vector<Item*>& keyed, std::string& detail);

    SteppedClock clock_;
    std::unique_ptr<QuietWindow> window_;
    std::unique_ptr<Controller> controller_;
};

// A point of the display's client area where a left click lands on item (the smallest item
// under the pointer wins); false when there is none.
bool findClickPoint(Item& item, Point& point);

} // namespace lorvenna

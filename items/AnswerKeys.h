// Answer keys: checking them at page start, asking questions one by one,
// judging answers and showing the feedback.
#pragma once

#include "platform/Diagnostic.h"

namespace lorvenna {

class Item;

// Finds every key's answering item on the page shown and asks it to accept the key. Fails
// with "Answerer %s fails PreProcessKey" or "No proper answer found for question %s".
Status CheckKeys(Item& item);
// Makes the first item with keys (displays 1 to 9, items in list order) the current question.
void StartFirstQuestion();
// Redraws every display that holds a caption: captions show "???" while a question is asked
// and their names otherwise, so each start or end of asking must reach the screen.
void repaintCaptions();
// Judges the answer recorded in the answer flow (chosenItem, typedNumber, markX and markY,
// feedbackDisplay), draws the marks and the feedback and starts the pause. Does nothing
// unless a question is active and no pause runs.
void JudgeAnswer();
// Ends the current question when its pause is over: the next question of the same display,
// or the next page after a KEYAUTOTURN question.
void EndQuestion();

// Forgets the picks and the typed number of an earlier asking, so a question that becomes
// current again (on a display kept from the page before, say) is asked anew.
void resetAnswers(Item& question);

// The outcome of judging one answer.
enum class AnswerOutcome { Right, Wrong, MorePicks };

} // namespace lorvenna

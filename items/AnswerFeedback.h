// The feedback to a judged answer: the marks drawn where the student answered and the
// comment in the feedback panel.
#pragma once

#include "items/AnswerKeys.h"

namespace lorvenna {

struct Display;

// The answer marks, by picture number.
inline constexpr int kRightMark = 301;
inline constexpr int kWrongMark = 302;
inline constexpr int kSpotMark = 303;
inline constexpr int kMarkSize = 16;

// Draws the mark of a right or wrong answer straight to the screen of feedbackDisplay (its
// next repaint wipes it) and, for a wrong answer outside a test lesson, shows the comment.
// KEYSHOW moves feedbackDisplay to the display that shows the right spots.
void drawAnswerFeedback(AnswerOutcome outcome);

// Repaints a display that holds a mark but is no longer feedbackDisplay (the wrong mark of
// a KEYSHOW answer given on another display), so that no mark outlives its question.
void wipeStrayMarks();

} // namespace lorvenna

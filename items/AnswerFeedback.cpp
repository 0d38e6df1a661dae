// Drawing the marks of an answer and the texts of the feedback panel.
#include "items/AnswerFeedback.h"

#include "items/AppServices.h"
#include "items/Display.h"
#include "items/Drawing.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/Picture.h"
#include "platform/Surface.h"

#include <cstring>
#include <string>
#include <string_view>

namespace lorvenna {

namespace {

constexpr const char* kWrongLocation = "Wrong location. X shows the correct spot.";

// Panel widths in reference units, and heights in lines of text.
constexpr int kNumberPanelWidth = 200;
constexpr int kNumberPanelLines = 4;
constexpr int kButtonPanelWidth = 250;
constexpr int kButtonPanelLines = 5;
constexpr int kCombinationPanelWidth = 250;
constexpr int kCombinationLinesPerKey = 4;
// Used as the line height when the display has no surface to measure on.
constexpr int kFallbackLineHeight = 16;

// The marks go straight to the screen: the overlay that the display's next repaint clears.
Surface* screenOf(Display* display) {
    return display ? display->windowSurface : nullptr;
}

void present(Display* display) {
    if (display && display->window)
        display->window->present();
}

void drawMark(Surface* surface, PictureId picture, int x, int y) {
    // Without a main window there are no marks to draw.
    if (surface && appServicesInstalled())
        surface->drawPicture(appServices().picture(picture), x, y);
}

const char* textOf(const Item* item) {
    return item ? item->text.c_str() : "";
}

// The entries that take part: from the first, up to the first without an answering item.
int answeredEntries(const Item& question) {
    int n = 0;
    while (n < question.keyCount && n < kMaxKeys && question.keys[n].answerer)
        ++n;
    return n;
}

// A comment of the panel: at most 255 characters, as the panel has always shown.
using Comment = char[256];

// What the panel says is said to a screen reader with the mark.
std::string shownComment;

void showPanel(const char* comment, int width, int height) {
    shownComment = comment;
    appServices().showFeedbackPanel(comment, width, height);
}

void commentOnNumber(const Item& question, int lineHeight) {
    const double expected = question.keys[0].expected;
    Comment comment;
    if (pageOnScreen().answer.typedNumber() != 0.0)
        formatText(comment, "You wrote %.1lf\nCorrect is %.1lf",
                   pageOnScreen().answer.typedNumber(), expected);
    else if (pageOnScreen().answer.chosenItem())
        formatText(comment, "You chose: %s\nCorrect is %.1lf",
                   textOf(pageOnScreen().answer.chosenItem()), expected);
    else
        formatText(comment, "You chose nothing.\nCorrect is %.1lf", expected);
    showPanel(comment, kNumberPanelWidth, kNumberPanelLines * lineHeight);
    if (pageOnScreen().answer.chosenItem())
        pageOnScreen().answer.chosenItem()->ClearAnswer();
}

void commentOnButton(const Item& question, int lineHeight) {
    const char* answer = textOf(question.keys[0].answerer);
    Comment comment;
    if (pageOnScreen().answer.chosenItem())
        formatText(comment, "You chose: %s\nCorrect answer: %s",
                   textOf(pageOnScreen().answer.chosenItem()), answer);
    else
        formatText(comment, "You clicked outside a button.\nCorrect answer: %s", answer);
    showPanel(comment, kButtonPanelWidth, kButtonPanelLines * lineHeight);
}

void commentOnCombination(const Item& question, int lineHeight) {
    char answers[2048] = {};
    const int entries = answeredEntries(question);
    for (int i = 0; i < entries; ++i) {
        if (i > 0)
            appendText(answers, "\n");
        appendText(answers, question.keys[i].answerer->text);
    }
    Comment comment;
    formatText(comment, "%s\nCorrect combination:\n%s", pageOnScreen().answer.picksText(), answers);
    pageOnScreen().answer.clearPicks();
    showPanel(comment, kCombinationPanelWidth,
              question.keyCount * kCombinationLinesPerKey * lineHeight);
}

bool namesAnEntry(const Item& question, const Item& item) {
    for (int i = 0; i < question.keyCount && i < kMaxKeys; ++i) {
        const KeyEntry& key = question.keys[i];
        if (key.kind != 0 &&
            equalsIgnoringCase(item.title,
                               std::string_view(key.answererTitle,
                                                strnlen(key.answererTitle, kAnswererTitleSize))))
            return true;
    }
    return false;
}

void showRightSpots(const Item& question) {
    Display* target = nullptr;
    for (Display* display : shownDisplays()) {
        for (Item* item = display->items; item; item = item->next) {
            if (namesAnEntry(question, *item)) {
                target = display;
                break;
            }
        }
    }
    if (!target)
        return;
    pageOnScreen().answer.moveFeedbackTo(target);

    Surface* surface = screenOf(target);
    for (int i = 0; i < question.keyCount && i < kMaxKeys; ++i) {
        const Item* answerer = question.keys[i].answerer;
        if (!answerer)
            continue;
        const Rect& b = answerer->bounds;
        drawMark(surface, PictureId::SpotMark, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
    }
    present(target);

    const Size extent = surface ? surface->measureText(kWrongLocation) : Size{};
    showPanel(kWrongLocation, extent.width, 2 * extent.height);
}

// The right or wrong mark where the student answered, and the comment on a wrong answer.
void drawMarks(AnswerOutcome outcome) {
    Display* display = pageOnScreen().answer.feedbackDisplay();
    if (!display)
        return;
    Surface* surface = screenOf(display);
    const int lineHeight = surface ? surface->measureText("M").height : kFallbackLineHeight;

    if (outcome == AnswerOutcome::Right) {
        drawMark(surface, PictureId::RightMark, pageOnScreen().answer.markX(),
                 pageOnScreen().answer.markY());
        present(display);
        return;
    }
    drawMark(surface, PictureId::WrongMark, pageOnScreen().answer.markX(),
             pageOnScreen().answer.markY());
    present(display);
    if (lesson().testLesson || !pageOnScreen().answer.currentQuestion())
        return;

    // The comment follows this order of kinds, not the order of judging.
    const Item& question = *pageOnScreen().answer.currentQuestion();
    const std::int32_t kinds = pageOnScreen().answer.currentKeyKinds();
    if (kinds & kKeyNum)
        commentOnNumber(question, lineHeight);
    else if (kinds & kKeyButton)
        commentOnButton(question, lineHeight);
    else if (kinds & kKeyAnd)
        commentOnCombination(question, lineHeight);
    else if (kinds & kKeyShow)
        showRightSpots(question);
}

} // namespace

void drawAnswerFeedback(AnswerOutcome outcome) {
    if (outcome == AnswerOutcome::MorePicks)
        return;
    shownComment.clear();
    drawMarks(outcome);
    std::string said = outcome == AnswerOutcome::Right ? "Right" : "Wrong";
    if (!shownComment.empty())
        said += "\n" + shownComment;
    appServices().announce(said);
}

void wipeStrayMarks() {
    Display* stray = pageOnScreen().answer.takeStrayMarks();
    if (stray && isShown(stray))
        markAndRepaint(stray);
}

} // namespace lorvenna

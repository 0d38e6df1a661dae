// Answer keys: checking them when a page starts, asking the questions one by one, judging
// answers and ending questions.
#include "items/AnswerKeys.h"

#include "items/AccessibleItems.h"
#include "items/AnswerFeedback.h"
#include "items/AppServices.h"
#include "items/Display.h"
#include "items/Drawing.h"
#include "items/Item.h"
#include "items/PauseTimer.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/Clock.h"
#include "platform/IgnoreCase.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace lorvenna {

namespace {

std::string_view titleOf(const KeyEntry& key) {
    return {key.answererTitle, strnlen(key.answererTitle, kAnswererTitleSize)};
}

// Every display shows the pointing cursor while a question is active.
void updateCursors() {
    const bool active = pageOnScreen().answer.questionActive();
    for (Display* display : shownDisplays()) {
        if (display->window)
            display->window->setPointCursor(active);
    }
}

} // namespace

void repaintCaptions() {
    for (Display* display : shownDisplays()) {
        for (Item* item = display->items; item; item = item->next) {
            if (item->isType(ItemType::Label) && !item->text.empty()) {
                markAndRepaint(display);
                break;
            }
        }
    }
}

namespace {

// A question's place among the questions of the page shown, in the order the page lists its
// displays and their items; -1 when it is not on the page.
int questionPlace(const Item& question) {
    int place = 0;
    for (Display* display : shownDisplays()) {
        for (Item* item = display->items; item; item = item->next) {
            if (item == &question)
                return place;
            if (item->keyKinds != 0)
                ++place;
        }
    }
    return -1;
}

// Marks the questions of the page shown as judged, so that none is asked: in a test, those the
// page entry holds as answered; a page resumed from a bookmark, which keeps counts but not
// which questions they came from, has its first completed ones closed.
void closeAnsweredTestQuestions() {
    PageEntry* entry = pageOnScreen().currentEntry;
    const bool test = lesson().testLesson && entry;
    // A bookmark's count may be anything: only the places a page can remember are walked.
    if (test && entry->closedQuestions == 0) {
        const int closed = std::min(entry->completedCount, PageEntry::kRememberedQuestions);
        for (int place = 0; place < closed; ++place)
            entry->closeQuestion(place);
    }
    int place = 0;
    for (Display* display : shownDisplays()) {
        for (Item* item = display->items; item; item = item->next) {
            item->judgedOnPage = false;
            if (item->keyKinds == 0)
                continue;
            if (test && entry->questionClosed(place))
                item->judgedOnPage = true;
            ++place;
        }
    }
}

void startQuestion(Item& question) {
    pageOnScreen().answer.startQuestion(question);
    pageOnScreen().questionAsked = true;
    resetAnswers(question);
    question.StartupAction();
    updateCursors();
    appServices().announce(questionAnnouncement(question));
}

// A tick count of 0 means "no pause", so a pause that starts at that very count starts at 1.
std::uint32_t pauseStamp() {
    const std::uint32_t now = tickCount();
    return now != 0 ? now : 1;
}

bool isAnswerer(const Item& question, const Item* chosen) {
    if (!chosen)
        return false;
    for (int i = 0; i < question.keyCount && i < kMaxKeys && question.keys[i].answerer; ++i) {
        if (question.keys[i].answerer == chosen)
            return true;
    }
    return false;
}

AnswerOutcome judgeCombination(Item& question) {
    ++question.picks;
    if (Item* chosen = pageOnScreen().answer.chosenItem()) {
        pageOnScreen().answer.addPick(chosen->text);
        // One pick counts every entry of the item (a title keyed twice counts twice); an
        // entry picked before ends the search.
        for (int i = 0; i < question.keyCount && i < kMaxKeys && question.keys[i].answerer; ++i) {
            KeyEntry& key = question.keys[i];
            if (key.answerer != chosen)
                continue;
            if (key.picked)
                break;
            key.picked = true;
            ++question.rightPicks;
        }
    }
    if (question.rightPicks >= question.keyCount)
        return AnswerOutcome::Right;
    if (question.picks >= question.keyCount)
        return AnswerOutcome::Wrong;
    return AnswerOutcome::MorePicks;
}

AnswerOutcome judgeNumber(const Item& question) {
    // Only a number typed into a field answers: a click on another item is not one, whatever
    // number was typed before.
    const Item* chosen = pageOnScreen().answer.chosenItem();
    if (!chosen || !chosen->isType(ItemType::Edit))
        return AnswerOutcome::Wrong;
    const double e = question.keys[0].expected;
    const double t = question.keys[0].tolerance;
    const double n = pageOnScreen().answer.typedNumber();
    if (t < 0)
        return AnswerOutcome::Right;
    // The tolerance is a factor: 10 % around 100 is 100 / 1.1 to 100 x 1.1.
    const double f = 1.0 + t / 100.0;
    const double a = e * f;
    const double b = e / f;
    const bool right = e >= 0 ? (b <= n && n <= a) : (a <= n && n <= b);
    return right ? AnswerOutcome::Right : AnswerOutcome::Wrong;
}

// The rule chosen by the question's key kinds, first match: KEYNUM, KEYSHOW, KEYAND, KEYBUTTON.
AnswerOutcome judgeByRule(Item& question) {
    const AnswerFlow& answer = pageOnScreen().answer;
    const std::int32_t kinds = answer.currentKeyKinds();
    if (kinds & kKeyNum)
        return judgeNumber(question);
    if (kinds & kKeyShow)
        return isAnswerer(question, answer.chosenItem()) ? AnswerOutcome::Right
                                                         : AnswerOutcome::Wrong;
    if (kinds & kKeyAnd)
        return judgeCombination(question);
    return isAnswerer(question, answer.chosenItem()) ? AnswerOutcome::Right : AnswerOutcome::Wrong;
}

} // namespace

Status CheckKeys(Item& item) {
    if (item.keyKinds == 0)
        return {};
    for (KeyEntry& key : item.keys) {
        if (key.kind == 0)
            continue;
        // Found anew on every page start: an answerer of an earlier page may be gone.
        key.answerer = nullptr;
        for (Display* display : shownDisplays()) {
            for (Item* candidate = display->items; candidate; candidate = candidate->next) {
                if (!equalsIgnoringCase(candidate->title, titleOf(key)))
                    continue;
                // The first on a display; a later display replaces it.
                key.answerer = candidate;
                if (!candidate->PreProcessKey(key))
                    return failure("Answerer " + candidate->title + " fails PreProcessKey");
                break;
            }
        }
        if (!key.answerer)
            return failure("No proper answer found for question " + item.title);
    }
    return {};
}

void StartFirstQuestion() {
    pageOnScreen().questionAsked = false;
    // Nothing of an answer given on the page before carries over.
    pageOnScreen().answer.clearQuestion();
    // Entering a page asks its questions anew, kept displays included; a test asks only those
    // not answered yet.
    closeAnsweredTestQuestions();
    for (Display* display : shownDisplays()) {
        for (Item* item = display->items; item; item = item->next) {
            if (item->keyKinds != 0 && !item->judgedOnPage) {
                startQuestion(*item);
                repaintCaptions();
                return;
            }
        }
    }
    updateCursors();
    repaintCaptions();
}

void resetAnswers(Item& question) {
    question.rightPicks = 0;
    question.picks = 0;
    for (KeyEntry& key : question.keys)
        key.picked = false;
    pageOnScreen().answer.clearPicks();
    pageOnScreen().answer.typeNumber(0.0);
}

void JudgeAnswer() {
    Item* question = pageOnScreen().answer.currentQuestion();
    if (!pageOnScreen().answer.questionActive() || !question)
        return;
    if (pageOnScreen().answerPauseRunning())
        return;

    const AnswerOutcome outcome = judgeByRule(*question);
    switch (outcome) {
    case AnswerOutcome::Right:
        pageOnScreen().wrongWaitStart = 0;
        pageOnScreen().rightWaitStart = pauseStamp();
        if (pageOnScreen().currentEntry)
            ++pageOnScreen().currentEntry->rightCount;
        break;
    case AnswerOutcome::Wrong:
        pageOnScreen().rightWaitStart = 0;
        pageOnScreen().wrongWaitStart = pauseStamp();
        break;
    case AnswerOutcome::MorePicks:
        return;
    }
    question->judgedOnPage = true;
    if (lesson().testLesson && pageOnScreen().currentEntry)
        pageOnScreen().currentEntry->closeQuestion(questionPlace(*question));
    drawAnswerFeedback(outcome);
    startPauseTimer();
}

void EndQuestion() {
    stopPauseTimer();
    appServices().hideFeedbackPanel();
    if (Display* marked = pageOnScreen().answer.feedbackDisplay())
        markAndRepaint(marked);
    wipeStrayMarks();

    Item* question = pageOnScreen().answer.currentQuestion();
    pageOnScreen().answer.closeQuestion();

    if (pageOnScreen().answer.advanceAfterAnswer()) {
        pageOnScreen().pageClosing = true;
        stopPauseTimer();
        appServices().postState(StateCode::ShowPage, lesson().currentPage() + 1);
        return;
    }

    // Only the display of the question asks on; questions of other displays wait.
    for (Item* next = question ? question->next : nullptr; next; next = next->next) {
        // A test never asks a question answered before.
        if (next->keyKinds != 0 && !(lesson().testLesson && next->judgedOnPage)) {
            startQuestion(*next);
            if (next->display)
                markAndRepaint(next->display);
            return;
        }
    }
    // The last question is over: labels show their texts again and the prompt goes.
    pageOnScreen().answer.noMoreQuestions();
    updateCursors();
    markAllAndRepaint();
}

} // namespace lorvenna

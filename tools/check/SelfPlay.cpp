// Answering the questions of the page shown from their own answer keys.
#include "tools/check/SelfPlay.h"

#include "items/Display.h"
#include "items/Drawing.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/Control.h"
#include "shell/DisplayWindowProc.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace lorvenna {

namespace {

// Points tried on a coarse grid first: most outlines are found at once, and a thin one still
// by the fine pass.
constexpr int kCoarseStep = 4;
// Room for the shortest text that reads back as the same double, and the Enter after it.
constexpr int kNumberTextSize = 32;
// Each question is asked once a visit; the bound only guards against a page that would keep
// asking.
constexpr int kMaxQuestionsAPage = 1000;

ChildWindow* windowOf(const Item& item) {
    return item.display ? item.display->window.get() : nullptr;
}

bool landsOn(Item& item, int x, int y) {
    return hitTestItems(item.display->items, x, y) == &item;
}

bool scanFor(Item& item, const Rect& area, int step, Point& point) {
    for (int y = area.top; y < area.bottom; y += step) {
        for (int x = area.left; x < area.right; x += step) {
            if (landsOn(item, x, y)) {
                point = {x, y};
                return true;
            }
        }
    }
    return false;
}

// The items the student answers with, in key order, each once: one pick of an item keyed
// twice counts for both of its keys.
std::vector<Item*> distinctAnswerers(const Item& question) {
    std::vector<Item*> items;
    for (int i = 0; i < question.keyCount && i < kMaxKeys; ++i) {
        Item* answerer = question.keys[i].answerer;
        if (answerer && std::find(items.begin(), items.end(), answerer) == items.end())
            items.push_back(answerer);
    }
    return items;
}

} // namespace

// The controller's window needs nothing shown or dropped while the pause is ended here.
class SelfPlay::QuietWindow final : public ControllerWindow {
public:
    void enableNoteButton() override {}
    void restoreWindow() override {}
    void discardPendingInput() override {}
    void destroyWindow() override {}
};

bool findClickPoint(Item& item, Point& point) {
    if (!item.display || !item.display->window)
        return false;
    const Rect client = item.display->clientRect;
    const Rect box = item.region ? item.region->boundingBox() : item.bounds;
    const Rect area{std::max(box.left, client.left), std::max(box.top, client.top),
                    std::min(box.right, client.right), std::min(box.bottom, client.bottom)};
    if (area.width() <= 0 || area.height() <= 0)
        return false;
    const Point centre{area.left + area.width() / 2, area.top + area.height() / 2};
    if (landsOn(item, centre.x, centre.y)) {
        point = centre;
        return true;
    }
    return scanFor(item, area, kCoarseStep, point) || scanFor(item, area, 1, point);
}

SelfPlay::SelfPlay()
    : window_(std::make_unique<QuietWindow>()),
      controller_(std::make_unique<Controller>(*window_)) {}

SelfPlay::~SelfPlay() = default;

bool SelfPlay::clickOn(Item& item, std::string& detail) {
    ChildWindow* window = windowOf(item);
    Point point;
    if (!window || !findClickPoint(item, point)) {
        detail = "no click on the display reaches " + item.title;
        return false;
    }
    displayWindowProc()->leftButtonDown(*window, point.x, point.y);
    return true;
}

bool SelfPlay::press(Item& item, std::string& detail) {
    // Items without a control of their own (zones, pictures) answer where they are clicked.
    if (!item.control)
        return clickOn(item, detail);
    ChildWindow* window = windowOf(item);
    if (!window || !item.control->isVisible()) {
        detail = item.title + " cannot be pressed: it is hidden";
        return false;
    }
    displayWindowProc()->controlNotification(*window,
                                             notificationWord(kNotifyClicked, item.controlId));
    return true;
}

bool SelfPlay::type(Item& item, double value, std::string& detail) {
    ChildWindow* window = windowOf(item);
    if (!window || !item.control || !item.isType(ItemType::Edit)) {
        detail = "no number can be typed into " + item.title;
        return false;
    }
    char text[kNumberTextSize];
    const auto written = std::to_chars(text, text + sizeof text - 3, value);
    *written.ptr = '\0';
    const std::string entry = std::string(text) + "\r\n";
    // As the student does it: into the field, the number, then Enter.
    displayWindowProc()->controlNotification(*window,
                                             notificationWord(kNotifySetFocus, item.controlId));
    item.control->setText(entry);
    displayWindowProc()->controlNotification(*window,
                                             notificationWord(kNotifyChanged, item.controlId));
    return true;
}

namespace {

// An item of the page the student could answer with that no key names; nullptr if none.
Item* unkeyedAnswerer(const std::vector<Item*>& keyed) {
    for (Display* display : shownDisplays()) {
        for (Item* item = display->items; item; item = item->next) {
            const bool answers = item->isType(ItemType::Button) || item->isType(ItemType::Zone) ||
                                 item->isType(ItemType::Highlighter);
            if (answers && item->visibility != Visibility::Hidden &&
                std::find(keyed.begin(), keyed.end(), item) == keyed.end())
                return item;
        }
    }
    return nullptr;
}

// A number the key does not take: well away from the keyed one.
double wrongNumber(const KeyEntry& key) {
    return key.expected == 0.0 ? 1.0 : key.expected * 3.0 + 1.0;
}

} // namespace

PlayedQuestion SelfPlay::answerCurrentQuestion(bool right) {
    PlayedQuestion played;
    Item* question =
        pageOnScreen().answer.questionActive() ? pageOnScreen().answer.currentQuestion() : nullptr;
    if (!question || pageOnScreen().answerPauseRunning()) {
        played.detail = "no question is asked";
        return played;
    }
    played.question = question;
    played.title = question->title;
    // The page as the student sees it: outlines and hit regions exist once drawn.
    repaintAllDisplays();

    // The rule the judge applies, first match: KEYNUM, KEYSHOW, KEYAND, KEYBUTTON.
    const std::int32_t kinds = pageOnScreen().answer.currentKeyKinds();
    const std::vector<Item*> answerers = distinctAnswerers(*question);
    bool given = false;
    if (answerers.empty()) {
        played.detail = "it holds no key naming an item";
    } else if (kinds & kKeyNum) {
        const KeyEntry& key = question->keys[0];
        given = type(*key.answerer, right ? key.expected : wrongNumber(key), played.detail);
    } else if (!right) {
        given = answerWrong(*question, answerers, played.detail);
    } else if (kinds & kKeyAnd) {
        for (Item* pick : answerers) {
            given = press(*pick, played.detail);
            if (!given || pageOnScreen().answerPauseRunning())
                break;
        }
    } else {
        given = press(*answerers.front(), played.detail);
    }

    if (pageOnScreen().answerPauseRunning()) {
        played.chosen = pageOnScreen().answer.chosenItem();
        played.markDisplay = pageOnScreen().answer.feedbackDisplay();
        played.mark = {pageOnScreen().answer.markX(), pageOnScreen().answer.markY()};
    }
    if (pageOnScreen().rightWaitStart != 0)
        played.outcome = PlayOutcome::Right;
    else if (pageOnScreen().wrongWaitStart != 0)
        played.outcome = PlayOutcome::Wrong;
    else
        played.outcome = given ? PlayOutcome::NotJudged : PlayOutcome::NoWayToAnswer;
    return played;
}

bool SelfPlay::answerWrong(Item& question, const std::vector<Item*>& keyed, std::string& detail) {
    // Each pick of another item is wrong; a KEYAND question judges once its picks are used.
    for (int pick = 0; pick < std::max(1, question.keyCount); ++pick) {
        Item* other = unkeyedAnswerer(keyed);
        bool given = false;
        if (other) {
            given = press(*other, detail);
        } else if (Display* display = keyed.front()->display; display && display->window) {
            // Nothing else to press: a click where no item is.
            const Rect area = display->clientRect;
            for (int y = area.top; y < area.bottom && !given; y += kCoarseStep) {
                for (int x = area.left; x < area.right && !given; x += kCoarseStep) {
                    if (hitTestItems(display->items, x, y))
                        continue;
                    displayWindowProc()->leftButtonDown(*display->window, x, y);
                    given = true;
                }
            }
        }
        if (!given) {
            detail = "there is no wrong answer to give";
            return false;
        }
        if (pageOnScreen().answerPauseRunning())
            break;
    }
    return true;
}

void SelfPlay::endPause() {
    if (!pageOnScreen().answerPauseRunning())
        return;
    clock_.advance(pageOnScreen().rightWaitStart != 0 ? kRightPauseMs : kWrongPauseMs);
    controller_->tick();
}

std::vector<PlayedQuestion> SelfPlay::playPage() {
    std::vector<PlayedQuestion> played;
    for (int asked = 0; pageOnScreen().answer.questionActive() &&
                        pageOnScreen().answer.currentQuestion() && asked < kMaxQuestionsAPage;
         ++asked) {
        played.push_back(answerCurrentQuestion());
        if (!pageOnScreen().answerPauseRunning())
            break; // unanswerable: the student would be stuck here too
        endPause();
        // A question that turns the page has closed it; the flag that says so for the
        // question now asked belongs to that next question, which is still to be played.
        if (pageOnScreen().pageClosing)
            break;
    }
    return played;
}

} // namespace lorvenna

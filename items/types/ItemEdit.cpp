// The EDIT item.
#include "items/types/ItemEdit.h"

#include "items/AnswerKeys.h"
#include "items/AppServices.h"
#include "items/Connection.h"
#include "items/Display.h"
#include "items/Drawing.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/LineMatcher.h"

#include <charconv>
#include <cmath>

namespace lorvenna {

namespace {

// The answer mark sits this far right of the field, level with its top.
constexpr int kMarkGap = 2;
// Enough to see everything the field holds when comparing it with the stored text.
constexpr int kWholeFieldBytes = 4096;

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A plain decimal number at the start of text, after white space: sign, digits, point,
// digits, exponent. Nothing else is taken (no "inf", "nan" or hexadecimal forms), the
// decimal point is '.' whatever the locale, and a number beyond the range of double
// gives 0.
double readDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digits = i;
    const bool startsNumber =
        i < text.size() &&
        (isDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && isDigit(text[i + 1])));
    if (!startsNumber)
        return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(text.data() + digits, text.data() + text.size(), value,
                                        std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

} // namespace

double readTypedNumber(std::string_view entry, std::string* cleaned) {
    // The first line of the entry, as a tokenizer on "\r\n" finds it.
    std::size_t start = 0;
    while (start < entry.size() && isLineBreak(entry[start]))
        ++start;
    std::size_t end = start;
    while (end < entry.size() && !isLineBreak(entry[end]))
        ++end;
    std::string line(entry.substr(start, end - start));
    // "1,234" is 1234; only the first comma goes, so "1,234,567" reads as 1234.
    const std::size_t comma = line.find(',');
    if (comma != std::string::npos)
        line.erase(comma, 1);
    const double value = readDecimal(line);
    if (cleaned)
        *cleaned = std::move(line);
    return value;
}

ItemEdit::ItemEdit() {
    type = ItemType::Edit;
}

// The stored text and the control go with the item.
ItemEdit::~ItemEdit() = default;

bool ItemEdit::EndDefinition() {
    MakeRegion();
    if (!display || !display->window)
        return false;
    const int x = truncateCoordinate(pose.x);
    const int y = truncateCoordinate(pose.y);
    control = display->window->createEdit(controlId, Rect{x, y, x + width, y + height}, text);
    return control != nullptr;
}

Status ItemEdit::ReadCommand(const char* line) {
    // PREFIX and HOLD change nothing; FOCUS cannot act yet, the control does not exist.
    if (containsText(line, "PREFIX") || containsText(line, "FOCUS") || containsText(line, "HOLD"))
        return {};
    return unknownLine();
}

void ItemEdit::Draw() {
    if (!control)
        return;
    // Setting the same text again would only move the student's cursor.
    // The field paints itself with the display, as a button does.
    if (control->text(kWholeFieldBytes) != text)
        control->setText(text);
}

void ItemEdit::Input(const char* name, double, const Pose*) {
    if (containsText(name, "FOCUS") && control)
        control->setFocus();
}

bool ItemEdit::PreProcessKey(KeyEntry& key) {
    return key.kind == kKeyNum;
}

void ItemEdit::ClearAnswer() {
    text.clear();
    if (control)
        control->setText("");
}

bool ItemEdit::Command(unsigned notification) {
    switch (notification >> 16) {
    case kNotifySetFocus:
        takeFocus();
        return false;
    case kNotifyChanged:
        return confirm();
    default:
        return false;
    }
}

void ItemEdit::takeFocus() {
    // A field whose answer was judged on this visit to the page keeps it: answering it
    // again would count it twice.
    if (keyKinds == 0 || judgedOnPage)
        return;
    // The field takes the question over, even from another current question.
    AnswerFlow& answer = pageOnScreen().answer;
    const bool wasAsking = answer.questionActive();
    const bool becomesCurrent = !wasAsking || answer.currentQuestion() != this;
    answer.takeQuestion(*this, display);
    answer.setMark(truncateCoordinate(pose.x + width + kMarkGap), truncateCoordinate(pose.y));
    if (becomesCurrent)
        resetAnswers(*this);
    ClearAnswer();
    if (!wasAsking)
        repaintCaptions();
}

bool ItemEdit::confirm() {
    if (!control)
        return false;
    // What the student typed is kept as the stored text, so a repaint does not take it away.
    text = control->text(kEditReadBytes);
    if (text.empty() || text.find('\n') == std::string::npos)
        return false;

    // Line breaks before the number are not kept: the field would hold a line break again
    // after the repaint, and the next key typed would count as a confirmed entry.
    const double value = readTypedNumber(text, &text);
    SendOutputs(*this, value, false);

    if (pageOnScreen().answer.questionActive()) {
        pageOnScreen().answer.choose(this, display);
        pageOnScreen().answer.typeNumber(value);
        pageOnScreen().answer.setMark(truncateCoordinate(pose.x + width + kMarkGap),
                                      truncateCoordinate(pose.y));
    }
    if (display)
        display->needsRepaint = 1;
    repaintAllDisplays(); // puts the cleaned text back into the field
    appServices().focusMainWindow();
    return true;
}

} // namespace lorvenna

// EDIT items: reading typed numbers, confirming with Enter, focus as a question, clearing.
#include "items/types/ItemEdit.h"

#include "items/AnswerKeys.h"
#include "items/Connection.h"
#include "items/Drawing.h"
#include "items/RunObjects.h"
#include "tests/items/types/ItemBench.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace lorvenna {

namespace {

// Receives what a connection delivers.
class Receiver : public Item {
public:
    void Input(const char* name, double value, const Pose*) override {
        received.emplace_back(name, value);
    }
    std::vector<std::pair<std::string, double>> received;
};

// Two fields; the second asks for a number when keyed.
std::string editLesson(bool keyed) {
    return std::string(R"(Lesson 01-01 Numbers
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM EDIT Field
LOC 20 40
SIZE 120 30
}
ITEM EDIT Answer
LOC 20 140
SIZE 120 30
)") + (keyed ? "KEYNUM Answer 100 10\n" : "") +
           "}\nEND DISPLAY\nEND LESSON\n";
}

// The fields, with a receiver on the first one's outputs.
struct EditBench {
    explicit EditBench(bool keyed = false) {
        EXPECT_TRUE(bench.load(editLesson(keyed))) << bench.lastMessage();
        EXPECT_TRUE(bench.build(1)) << bench.lastMessage();
        field = bench.item("Field");
        answer = bench.item("Answer");
        auto* connection = new Connection();
        connection->source = field;
        connection->target = &receiver;
        connection->inputName = "VALUE";
        appendConnection(field->outputs, connection);
    }

    QPlainTextEdit* widget(Item* item) const {
        return qobject_cast<QPlainTextEdit*>(bench.controlWidget(item));
    }

    // Types the text into the field, key by key, as the student would.
    void type(Item* item, const std::string& keys) const {
        QPlainTextEdit* edit = widget(item);
        ASSERT_NE(edit, nullptr);
        for (char c : keys) {
            const int key =
                c == '\n' ? int{Qt::Key_Return} : int{QChar::fromLatin1(c).toUpper().unicode()};
            const QString text = c == '\n' ? QStringLiteral("\r") : QString(QChar::fromLatin1(c));
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QCoreApplication::sendEvent(edit, &press);
        }
    }

    void focus(Item* item) const {
        QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(widget(item), &in);
    }

    std::string shown(Item* item) const { return item->control->text(256); }

    LessonBench bench;
    Receiver receiver;
    Item* field = nullptr;
    Item* answer = nullptr;
};

} // namespace

TEST(ItemEdit, ReadsTheFirstLineOfAnEntryAsADecimalNumber) {
    struct Case {
        const char* entry;
        double value;
        const char* stored;
    };
    const Case cases[] = {
        {"1,234\r\n", 1234, "1234"},
        {"1,234,567\r\n", 1234, "1234,567"}, // only the first comma goes
        {"12,5\r\n", 125, "125"},
        {"1.5\r\n", 1.5, "1.5"},
        {"abc\r\n", 0, "abc"},
        {"\r\n", 0, ""},
        {"\r\n\r\n42\r\n7", 42, "42"},
        {"  -12.5kg\r\n", -12.5, "  -12.5kg"},
        {"+7\r\n", 7, "+7"},
        {"+-7\r\n", 0, "+-7"},
        {".5\r\n", 0.5, ".5"},
        {"2e3\r\n", 2000, "2e3"},
        // Only plain decimal numbers: no infinities, no NaN, no hexadecimal, nothing beyond
        // the range of a double.
        {"inf\r\n", 0, "inf"},
        {"nan\r\n", 0, "nan"},
        {"0x10\r\n", 0, "0x10"},
        {"1e999\r\n", 0, "1e999"},
    };
    for (const Case& c : cases) {
        std::string stored;
        EXPECT_EQ(readTypedNumber(c.entry, &stored), c.value) << c.entry;
        EXPECT_EQ(stored, c.stored) << c.entry;
    }
}

TEST(ItemEdit, EnterSendsTheNumberAndPutsTheCleanedTextBack) {
    EditBench e;
    e.type(e.field, "1,234,567\n");
    ASSERT_EQ(e.receiver.received.size(), 1u);
    EXPECT_EQ(e.receiver.received[0], (std::pair<std::string, double>{"VALUE", 1234}));
    EXPECT_EQ(e.field->text, "1234,567");
    EXPECT_EQ(e.shown(e.field), "1234,567");

    // Putting the stored text back on repaint is never taken for a new entry.
    markAllAndRepaint();
    e.field->control->setText("9\r\n");
    EXPECT_EQ(e.receiver.received.size(), 1u);
}

TEST(ItemEdit, EnterInAnEmptyFieldSendsZeroAndLettersSendZero) {
    EditBench e;
    e.type(e.field, "\n");
    e.type(e.field, "abc\n");
    ASSERT_EQ(e.receiver.received.size(), 2u);
    EXPECT_EQ(e.receiver.received[0].second, 0);
    EXPECT_EQ(e.receiver.received[1].second, 0);
    EXPECT_EQ(e.shown(e.field), "abc");
}

TEST(ItemEdit, TypingWithoutEnterSendsNothingAndOutlivesARepaint) {
    EditBench e;
    e.type(e.field, "42");
    EXPECT_TRUE(e.receiver.received.empty());
    markAllAndRepaint();
    EXPECT_EQ(e.shown(e.field), "42");
    e.type(e.field, "\n");
    ASSERT_EQ(e.receiver.received.size(), 1u);
    EXPECT_EQ(e.receiver.received[0].second, 42);
}

TEST(ItemEdit, AnEntryTooLongToBeReadWithItsLineBreakIsNeverTaken) {
    EditBench e;
    // 27 digits, CR and LF fit in the 29 characters read; 28 digits push the LF out.
    e.type(e.field, std::string(27, '1') + "\n");
    EXPECT_EQ(e.receiver.received.size(), 1u);
    e.field->ClearAnswer();
    e.type(e.field, std::string(28, '2') + "\n");
    EXPECT_EQ(e.receiver.received.size(), 1u);
}

TEST(ItemEdit, FocusMakesAKeyedFieldTheCurrentQuestionAndEmptiesIt) {
    EditBench e(true);
    // The page's only question is already current; another key answer is cleared away.
    ASSERT_EQ(pageOnScreen().answer.currentQuestion(), e.answer);
    e.answer->control->setText("77");
    e.answer->text = "77";
    pageOnScreen().answer.clearQuestion();
    pageOnScreen().answer.setMark(0, 0);
    e.focus(e.answer);
    EXPECT_TRUE(pageOnScreen().answer.questionActive());
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), e.answer);
    EXPECT_EQ(pageOnScreen().answer.currentKeyKinds(), kKeyNum);
    EXPECT_EQ(pageOnScreen().answer.feedbackDisplay(), e.bench.display(1));
    EXPECT_EQ(pageOnScreen().answer.markX(), 20 + 120 + 2);
    EXPECT_EQ(pageOnScreen().answer.markY(), 140);
    EXPECT_EQ(e.shown(e.answer), "");
    EXPECT_TRUE(e.answer->text.empty());

    // A field without keys is no question.
    pageOnScreen().answer.clearQuestion();
    e.focus(e.field);
    EXPECT_FALSE(pageOnScreen().answer.questionActive());
}

TEST(ItemEdit, ConfirmedNumberIsTheAnswerWhileAQuestionIsActive) {
    EditBench e(true);
    EXPECT_FALSE(e.answer->Command(notificationWord(kNotifySetFocus, e.answer->controlId)));
    e.answer->control->setText("105\r\n");
    EXPECT_TRUE(e.answer->Command(notificationWord(kNotifyChanged, e.answer->controlId)));
    EXPECT_EQ(pageOnScreen().answer.chosenItem(), e.answer);
    EXPECT_EQ(pageOnScreen().answer.typedNumber(), 105);
    EXPECT_EQ(pageOnScreen().answer.markX(), 142);
    EXPECT_EQ(e.answer->text, "105");
}

TEST(ItemEdit, FocusInputGivesTheFieldTheFocusAndClearAnswerEmptiesIt) {
    EditBench e;
    e.type(e.field, "5\n");
    EXPECT_EQ(e.shown(e.field), "5");
    e.field->ClearAnswer();
    EXPECT_EQ(e.shown(e.field), "");
    EXPECT_TRUE(e.field->text.empty());

    QPlainTextEdit* widget = e.widget(e.field);
    EXPECT_NE(widget->window()->focusWidget(), widget);
    e.field->Input("MOVE", 1.0, nullptr);
    EXPECT_NE(widget->window()->focusWidget(), widget);
    e.field->Input("FOCUS", 0.0, nullptr);
    EXPECT_EQ(widget->window()->focusWidget(), widget);
}

TEST(ItemEdit, AFieldJudgedOnThisVisitIsNotAskedAgainUntilThePageIsEntered) {
    EditBench e(true);
    ASSERT_NE(pageOnScreen().currentEntry, nullptr);
    auto answerWith = [&](const char* typed) {
        e.focus(e.answer);
        e.answer->control->setText(typed);
        if (e.answer->Command(notificationWord(kNotifyChanged, e.answer->controlId)))
            JudgeAnswer();
        pageOnScreen().rightWaitStart = 0;
        pageOnScreen().wrongWaitStart = 0;
        EndQuestion();
    };
    answerWith("100\r\n");
    EXPECT_EQ(pageOnScreen().currentEntry->rightCount, 1);
    EXPECT_FALSE(pageOnScreen().answer.questionActive());

    // Clicking into the field again does not ask it again: a second right answer would
    // count twice and lift the score past 100 per cent.
    answerWith("100\r\n");
    EXPECT_FALSE(pageOnScreen().answer.questionActive());
    EXPECT_EQ(pageOnScreen().currentEntry->rightCount, 1);

    // Entering the page asks its questions anew.
    StartFirstQuestion();
    EXPECT_EQ(pageOnScreen().answer.currentQuestion(), e.answer);
    answerWith("100\r\n");
    EXPECT_EQ(pageOnScreen().currentEntry->rightCount, 2);
}

} // namespace lorvenna

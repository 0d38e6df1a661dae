// The ITEM reader: applies the definition lines of one ITEM block to the item, passing the
// lines it does not know to the item type and KEY lines to the answer keys.
#include "items/ItemReader.h"

#include "items/KeyReader.h"
#include "items/Connection.h"
#include "platform/IgnoreCase.h"
#include "items/Item.h"
#include "items/LineMatcher.h"
#include "items/Shape.h"
#include "lesson/Display.h"
#include "lesson/LineReader.h"
#include "platform/FixedText.h"
#include "shell/SessionState.h"

#include <climits>
#include <cstring>
#include <new>
#include <string>

namespace lorvenna {

namespace {

constexpr int kLineLimit = 250;
// The text accumulator takes a line break while it holds fewer than this many characters,
// and a piece of text while the result stays below kTextPieceLimit.
constexpr std::size_t kLineBreakLimit = 2044;
constexpr std::size_t kTextPieceLimit = 2042;
// Room the page builder needs after the reader's message for "... ReadLsn failed".
constexpr std::size_t kReadLsnSuffix = 18;
// A quoted line is never cut shorter than this.
constexpr std::size_t kShortestQuote = 16;

enum class Row { NotMatched, Done, Failed };

// Everything one block's commands work on.
struct BlockReader {
    Item& item;
    const char* line;
    Shape* currentShape = nullptr;
    // The last connection of each list, so that a long list is not walked for every line.
    Connection* lastOutput = nullptr;
    Connection* lastEndOutput = nullptr;
    Connection* lastOperator = nullptr;

    Row apply();

private:
    Row oneNumber(const char* keyword, double& value);
    Row outputRow(const char* keyword, Connection*& list, Connection*& last);
    Row operatorRow();
    Row shapeRow();
    Row shapeColorRow();
    Row shapeWidthRow();
    Row textLine(const char* at);
};

// The two messages that quote the offending line.
enum class LineFault { Mode, Key };

// "Bad MODE %s in Item %s" and "Bad KEY command %s in Item %s": the line is cut (and marked
// with "...") so that the whole message, with the title, still fits errorText and leaves room
// for what the page builder appends.
void reportLine(LineFault fault, const char* line, const std::string& title) {
    constexpr std::size_t kBudget = sizeof session().errorText - 1 - kReadLsnSuffix;
    const std::size_t fixed =
        std::strlen(fault == LineFault::Key ? "Bad KEY command  in Item " : "Bad MODE  in Item ") +
        title.size();
    const std::size_t room = fixed < kBudget ? kBudget - fixed : 0;
    const std::size_t keep = room > kShortestQuote ? room : kShortestQuote;
    std::string quote = line;
    if (quote.size() > keep) {
        quote.resize(keep - 3);
        quote += "...";
    }
    switch (fault) {
    case LineFault::Mode:
        formatText(session().errorText, "Bad MODE %s in Item %s", quote.c_str(), title.c_str());
        return;
    case LineFault::Key:
        formatText(session().errorText, "Bad KEY command %s in Item %s", quote.c_str(),
                   title.c_str());
        return;
    }
}

// Appends at the end of list, which is walked only while its last connection is not known.
void appendAt(Connection*& list, Connection*& last, Connection* connection) {
    if (last)
        last->next = connection;
    else
        appendConnection(list, connection);
    last = connection;
}

Connection* newConnection(Item& item) {
    auto* connection = new (std::nothrow) Connection();
    if (!connection) {
        formatText(session().errorText, "OUTPUT from %s failed.", item.title.c_str());
        return nullptr;
    }
    connection->source = &item;
    return connection;
}

Row BlockReader::apply() {
    LineMatcher m(line);
    std::string word;
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;

    // A comment needs a word after the slashes; "//" alone goes on down the table.
    if (m.keyword("//") && m.word(word))
        return Row::Done;

    m = LineMatcher(line);
    if (m.keyword("FILE") && m.word(word)) {
        item.text = word;
        return Row::Done;
    }
    if (oneNumber("LINECOLOR", a) == Row::Done) {
        item.lineColor = truncateToInt(a);
        return Row::Done;
    }
    if (oneNumber("LINEWIDTH", a) == Row::Done) {
        item.lineWidth = truncateToInt(a);
        return Row::Done;
    }
    if (oneNumber("FRAMECOLOR", a) == Row::Done) {
        item.frameColor = truncateToInt(a);
        return Row::Done;
    }
    if (oneNumber("FRAMEWIDTH", a) == Row::Done) {
        item.frameWidth = truncateToInt(a);
        return Row::Done;
    }
    m = LineMatcher(line);
    if (m.keyword("LOC") && m.number(a) && m.number(b)) {
        item.pose.x = item.initialPose.x = scaleX(a);
        item.pose.y = item.initialPose.y = scaleY(b);
        return Row::Done;
    }
    if (oneNumber("ANGLE", a) == Row::Done) {
        item.pose.angle = item.initialPose.angle = a;
        return Row::Done;
    }
    for (auto [keyword, limit] :
         {std::pair{"PLUSRANGE", &item.upperLimit}, std::pair{"MINUSRANGE", &item.lowerLimit}}) {
        m = LineMatcher(line);
        if (m.keyword(keyword) && m.number(a) && m.number(b) && m.number(c)) {
            limit->angle = a;
            limit->x = scaleX(b);
            limit->y = scaleY(c);
            limit->enabled = 1;
            return Row::Done;
        }
    }
    m = LineMatcher(line);
    if (m.keyword("SIZE") && m.number(a) && m.number(b)) {
        item.width = truncateCoordinate(scaleX(a));
        item.height = truncateCoordinate(scaleY(b));
        return Row::Done;
    }
    if (const Row row = outputRow("OUTPUT", item.outputs, lastOutput); row != Row::NotMatched)
        return row;
    if (const Row row = outputRow("ENDOUTPUT", item.endOutputs, lastEndOutput);
        row != Row::NotMatched)
        return row;
    if (const Row row = operatorRow(); row != Row::NotMatched)
        return row;
    if (oneNumber("MAX", a) == Row::Done) {
        item.maximum = a;
        return Row::Done;
    }
    if (oneNumber("MIN", a) == Row::Done) {
        item.minimum = a;
        return Row::Done;
    }
    if (oneNumber("STEP", a) == Row::Done) {
        item.step = a;
        return Row::Done;
    }
    m = LineMatcher(line);
    long whole = 0;
    if (m.keyword("MSEC") && m.whole(whole)) {
        item.msec = static_cast<std::int32_t>(
            whole < INT_MIN ? INT_MIN : (whole > INT_MAX ? INT_MAX : whole));
        return Row::Done;
    }
    if (const Row row = shapeRow(); row != Row::NotMatched)
        return row;
    if (const Row row = shapeColorRow(); row != Row::NotMatched)
        return row;
    if (const Row row = shapeWidthRow(); row != Row::NotMatched)
        return row;

    // Marks and words found anywhere in the line, once every keyword row has failed.
    if (const char* at = std::strchr(line, '@'))
        return textLine(at);
    if (std::strstr(line, "KEY")) {
        if (ReadKeyCommand(item, line))
            return Row::Done;
        reportLine(LineFault::Key, line, item.title);
        return Row::Failed;
    }
    if (std::strstr(line, "HIDE")) {
        item.visibility = 0;
        return Row::Done;
    }
    if (std::strstr(line, "APPEAR")) {
        item.visibility = 1;
        return Row::Done;
    }
    if (item.ReadCommand(line))
        return Row::Done;
    reportLine(LineFault::Mode, line, item.title);
    return Row::Failed;
}

Row BlockReader::oneNumber(const char* keyword, double& value) {
    LineMatcher m(line);
    return m.keyword(keyword) && m.number(value) ? Row::Done : Row::NotMatched;
}

// OUTPUT and ENDOUTPUT: the form follows from the number of values read, the two words
// included: 2 plain, 3 constant, 6 motion; 1, 4 or 5 fail the block without a message.
Row BlockReader::outputRow(const char* keyword, Connection*& list, Connection*& last) {
    LineMatcher m(line);
    std::string target;
    std::string input;
    double numbers[4] = {};
    if (!m.keyword(keyword) || !m.word(target))
        return Row::NotMatched;
    int count = 1;
    if (m.word(input)) {
        ++count;
        while (count < 6 && m.number(numbers[count - 2]))
            ++count;
    }
    if (count != 2 && count != 3 && count != 6) {
        session().errorText[0] = '\0';
        return Row::Failed;
    }
    Connection* connection = newConnection(item);
    if (!connection)
        return Row::Failed;
    connection->targetTitle = target;
    connection->inputName = input;
    if (count == 3) {
        // The constant form may send to the panel, which is no item: no title is kept.
        if (equalsIgnoringCase(target, kPanelItemTitle))
            connection->targetTitle.clear();
        connection->constant = numbers[0];
        connection->isConstant = true;
    } else if (count == 6) {
        connection->motion = Pose{1, numbers[0], numbers[1], numbers[2], numbers[3]};
    }
    appendAt(list, last, connection);
    return Row::Done;
}

Row BlockReader::operatorRow() {
    LineMatcher m(line);
    std::string target;
    std::string input;
    if (!m.keyword("OPERATOR") || !m.word(target) || !m.word(input))
        return Row::NotMatched;
    Connection* connection = newConnection(item);
    if (!connection)
        return Row::Failed;
    connection->targetTitle = target;
    connection->inputName = input;
    appendAt(item.operators, lastOperator, connection);
    return Row::Done;
}

Row BlockReader::shapeRow() {
    LineMatcher m(line);
    double angle = 0.0;
    double length = 0.0;
    std::string kind;
    if (!m.keyword("SHAPE") || !m.number(angle) || !m.number(length) || !m.word(kind))
        return Row::NotMatched;
    // An unknown kind letter makes no shape; later SHAPECOLOR and SHAPEWIDTH lines then apply
    // to none.
    currentShape = item.AddShape(angle, scaleSize(length), kind.c_str());
    return Row::Done;
}

Row BlockReader::shapeColorRow() {
    double value = 0.0;
    if (oneNumber("SHAPECOLOR", value) != Row::Done)
        return Row::NotMatched;
    if (currentShape)
        currentShape->SetColor(truncateToInt(value));
    return Row::Done;
}

Row BlockReader::shapeWidthRow() {
    double value = 0.0;
    if (oneNumber("SHAPEWIDTH", value) != Row::Done)
        return Row::NotMatched;
    if (currentShape)
        currentShape->SetWidth(truncateCoordinate(value));
    return Row::Done;
}

// "@" lines gather the item's text: the part after the first "@" is appended as it is; an
// empty part ends a line of the text with CR LF. Pieces that do not fit are dropped.
Row BlockReader::textLine(const char* at) {
    char* text = session().bigText;
    const std::size_t used = strnlen(text, sizeof session().bigText - 1);
    const char* part = at + 1;
    const std::size_t length = std::strlen(part);
    if (length == 0) {
        if (used < kLineBreakLimit)
            std::memcpy(text + used, "\r\n", 3);
    } else if (used + length < kTextPieceLimit) {
        std::memcpy(text + used, part, length + 1);
    }
    if (item.isType(ItemType::Label))
        item.anchorShape = currentShape;
    return Row::Done;
}

} // namespace

bool readItemBlock(Item* item, const char* title, Display* display, FileHandle& lessonFile) {
    SessionState& state = session();
    if (!item || !title || !*title) {
        setText(state.errorText, "No title on ITEM");
        closeFile(lessonFile);
        return false;
    }
    if (item->title.empty())
        item->title = title;
    item->display = display;
    item->surface = display ? display->surface : nullptr;
    state.bigText[0] = '\0';

    BlockReader reader{*item, state.lineBuffer};
    while (true) {
        const int length = readLine(lessonFile, state.lineBuffer, kLineLimit);
        // The brace test comes before every command: a text line holding "}" ends the block.
        if (length < 1 || std::memchr(state.lineBuffer, '}', static_cast<std::size_t>(length)))
            break;
        if (reader.apply() == Row::Failed) {
            closeFile(lessonFile);
            return false;
        }
    }
    if (state.bigText[0] != '\0' && item->text.empty())
        item->text = state.bigText;
    item->EndDefinition();
    return true;
}

} // namespace lorvenna

// The ITEM reader: applies the definition lines of one ITEM block to the item, passing the
// lines it does not know to the item type and KEY lines to the answer keys.
#include "items/ItemReader.h"

#include "items/Connection.h"
#include "items/Display.h"
#include "items/Item.h"
#include "items/KeyReader.h"
#include "items/RunObjects.h"
#include "items/Shape.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/LineMatcher.h"
#include "platform/LineReader.h"
#include "platform/TextCodec.h"

#include <climits>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

namespace lorvenna {

namespace {

constexpr int kLineLimit = 250;
// The text accumulator takes a line break while it holds fewer than this many characters,
// and a piece of text while the result stays below kTextPieceLimit.
constexpr std::size_t kLineBreakLimit = 2044;
constexpr std::size_t kTextPieceLimit = 2042;
enum class Row { NotMatched, Done, Failed };

struct BlockReader;
using NumberSetter = void (*)(Item&, double);

// One line form of the ITEM block: the keyword it starts with and how it is read. The forms
// are tried in table order, and the first that matches the line takes it.
struct LineForm {
    const char* keyword;
    Row (BlockReader::*read)(const LineForm& form);
    NumberSetter set = nullptr; // the forms of one number
};

// Everything one block's commands work on.
struct BlockReader {
    // The item's text as its "@" lines give it, at most kTextSize - 1 bytes and a zero.
    static constexpr std::size_t kTextSize = 2048;

    Item& item;
    const char* line;
    char* text;
    Shape* currentShape = nullptr;
    // The last connection of each list, so that a long list is not walked for every line.
    Connection* lastOutput = nullptr;
    Connection* lastEndOutput = nullptr;
    Connection* lastOperator = nullptr;
    // Why the line that failed did; an empty message for a failure without words of its own.
    Status fault = {};

    Row apply();

    Row commentRow(const LineForm& form);
    Row fileRow(const LineForm& form);
    Row spokenNameRow(const LineForm& form);
    Row numberRow(const LineForm& form);
    Row locationRow(const LineForm& form);
    Row plusRangeRow(const LineForm& form);
    Row minusRangeRow(const LineForm& form);
    Row sizeRow(const LineForm& form);
    Row outputsRow(const LineForm& form);
    Row endOutputsRow(const LineForm& form);
    Row operatorRow(const LineForm& form);
    Row msecRow(const LineForm& form);
    Row shapeRow(const LineForm& form);
    Row shapeColorRow(const LineForm& form);
    Row shapeWidthRow(const LineForm& form);

private:
    Row oneNumber(const char* keyword, double& value);
    Row twoNumbers(const char* keyword, double& first, double& second);
    Row outputRow(const char* keyword, Connection*& list, Connection*& last);
    Row rangeRow(const char* keyword, Pose& limit);
    Row markedLine();
    Row textLine(const char* at);
};

void setAngle(Item& item, double value) {
    item.pose.angle = item.initialPose.angle = value;
}

constexpr LineForm kLineForms[] = {
    {"//", &BlockReader::commentRow},
    {"FILE", &BlockReader::fileRow},
    {"ALTTEXT", &BlockReader::spokenNameRow},
    {"LINECOLOR", &BlockReader::numberRow,
     [](Item& item, double value) { item.lineColor = truncateToInt(value); }},
    {"LINEWIDTH", &BlockReader::numberRow,
     [](Item& item, double value) { item.lineWidth = truncateToInt(value); }},
    {"FRAMECOLOR", &BlockReader::numberRow,
     [](Item& item, double value) { item.frameColor = truncateToInt(value); }},
    {"FRAMEWIDTH", &BlockReader::numberRow,
     [](Item& item, double value) { item.frameWidth = truncateToInt(value); }},
    {"LOC", &BlockReader::locationRow},
    {"ANGLE", &BlockReader::numberRow, setAngle},
    {"PLUSRANGE", &BlockReader::plusRangeRow},
    {"MINUSRANGE", &BlockReader::minusRangeRow},
    {"SIZE", &BlockReader::sizeRow},
    {"OUTPUT", &BlockReader::outputsRow},
    {"ENDOUTPUT", &BlockReader::endOutputsRow},
    {"OPERATOR", &BlockReader::operatorRow},
    {"MAX", &BlockReader::numberRow, [](Item& item, double value) { item.maximum = value; }},
    {"MIN", &BlockReader::numberRow, [](Item& item, double value) { item.minimum = value; }},
    {"STEP", &BlockReader::numberRow, [](Item& item, double value) { item.step = value; }},
    {"MSEC", &BlockReader::msecRow},
    {"SHAPE", &BlockReader::shapeRow},
    {"SHAPECOLOR", &BlockReader::shapeColorRow},
    {"SHAPEWIDTH", &BlockReader::shapeWidthRow},
};

// The messages that quote the offending line.
enum class LineFault { Mode, Key, Shape };

// "Bad MODE %s in Item %s", "Bad KEY command %s in Item %s" and "Bad SHAPE %s in Item %s",
// quoting the whole line.
Status lineFailure(LineFault fault, const char* line, const std::string& title) {
    switch (fault) {
    case LineFault::Mode:
        return failure("Bad MODE " + std::string(line) + " in Item " + title);
    case LineFault::Key:
        return failure("Bad KEY command " + std::string(line) + " in Item " + title);
    case LineFault::Shape:
        return failure("Bad SHAPE " + std::string(line) + " in Item " + title);
    }
    return failure("");
}

// Appends at the end of list, which is walked only while its last connection is not known.
void appendAt(Connection*& list, Connection*& last, Connection* connection) {
    if (last)
        last->next = connection;
    else
        appendConnection(list, connection);
    last = connection;
}

Connection* newConnection(Item& item, Status& fault) {
    auto* connection = new (std::nothrow) Connection();
    if (!connection) {
        fault = failure("OUTPUT from " + item.title + " failed.");
        return nullptr;
    }
    connection->source = &item;
    return connection;
}

Row BlockReader::apply() {
    for (const LineForm& form : kLineForms) {
        if (const Row row = (this->*form.read)(form); row != Row::NotMatched)
            return row;
    }
    return markedLine();
}

Row BlockReader::commentRow(const LineForm& form) {
    // A comment needs a word after the slashes; "//" alone goes on down the table.
    LineMatcher m(line);
    std::string word;
    return m.keyword(form.keyword) && m.word(word) ? Row::Done : Row::NotMatched;
}

Row BlockReader::fileRow(const LineForm& form) {
    LineMatcher m(line);
    std::string word;
    if (!m.keyword(form.keyword) || !m.word(word))
        return Row::NotMatched;
    item.text = word;
    return Row::Done;
}

// "ALTTEXT A wheel with ten spokes": the rest of the line, without the blanks around it.
Row BlockReader::spokenNameRow(const LineForm& form) {
    LineMatcher m(line);
    if (!m.keyword(form.keyword))
        return Row::NotMatched;
    std::string_view words = m.rest();
    while (!words.empty() && isBlank(words.front()))
        words.remove_prefix(1);
    while (!words.empty() && isBlank(words.back()))
        words.remove_suffix(1);
    if (words.empty())
        return Row::NotMatched;
    item.spokenName = std::string(words);
    return Row::Done;
}

Row BlockReader::numberRow(const LineForm& form) {
    double value = 0.0;
    if (oneNumber(form.keyword, value) != Row::Done)
        return Row::NotMatched;
    form.set(item, value);
    return Row::Done;
}

Row BlockReader::locationRow(const LineForm& form) {
    double x = 0.0;
    double y = 0.0;
    if (twoNumbers(form.keyword, x, y) != Row::Done)
        return Row::NotMatched;
    // Reference units: the window that shows the page scales it, not the item.
    item.pose.x = item.initialPose.x = x;
    item.pose.y = item.initialPose.y = y;
    return Row::Done;
}

Row BlockReader::plusRangeRow(const LineForm& form) {
    return rangeRow(form.keyword, item.upperLimit);
}

Row BlockReader::minusRangeRow(const LineForm& form) {
    return rangeRow(form.keyword, item.lowerLimit);
}

Row BlockReader::rangeRow(const char* keyword, Pose& limit) {
    LineMatcher m(line);
    double angle = 0.0;
    double x = 0.0;
    double y = 0.0;
    if (!m.keyword(keyword) || !m.number(angle) || !m.number(x) || !m.number(y))
        return Row::NotMatched;
    limit.angle = angle;
    limit.x = x;
    limit.y = y;
    limit.enabled = true;
    return Row::Done;
}

Row BlockReader::sizeRow(const LineForm& form) {
    double width = 0.0;
    double height = 0.0;
    if (twoNumbers(form.keyword, width, height) != Row::Done)
        return Row::NotMatched;
    item.width = truncateCoordinate(width);
    item.height = truncateCoordinate(height);
    return Row::Done;
}

Row BlockReader::outputsRow(const LineForm& form) {
    return outputRow(form.keyword, item.outputs, lastOutput);
}

Row BlockReader::endOutputsRow(const LineForm& form) {
    return outputRow(form.keyword, item.endOutputs, lastEndOutput);
}

Row BlockReader::msecRow(const LineForm& form) {
    LineMatcher m(line);
    long whole = 0;
    if (!m.keyword(form.keyword) || !m.whole(whole))
        return Row::NotMatched;
    item.msec =
        static_cast<std::int32_t>(whole < INT_MIN ? INT_MIN : (whole > INT_MAX ? INT_MAX : whole));
    return Row::Done;
}

// Marks and words found anywhere in the line, once every keyword form has failed.
Row BlockReader::markedLine() {
    if (const char* at = std::strchr(line, '@'))
        return textLine(at);
    if (std::strstr(line, "KEY")) {
        if (ReadKeyCommand(item, line))
            return Row::Done;
        fault = lineFailure(LineFault::Key, line, item.title);
        return Row::Failed;
    }
    if (std::strstr(line, "HIDE")) {
        item.visibility = Visibility::Hidden;
        return Row::Done;
    }
    if (std::strstr(line, "APPEAR")) {
        item.visibility = Visibility::Shown;
        return Row::Done;
    }
    Status read = item.ReadCommand(line);
    if (read)
        return Row::Done;
    // A type that rejects a line without words of its own gets the reader's.
    fault =
        read.message().empty() ? lineFailure(LineFault::Mode, line, item.title) : std::move(read);
    return Row::Failed;
}

Row BlockReader::oneNumber(const char* keyword, double& value) {
    LineMatcher m(line);
    return m.keyword(keyword) && m.number(value) ? Row::Done : Row::NotMatched;
}

Row BlockReader::twoNumbers(const char* keyword, double& first, double& second) {
    LineMatcher m(line);
    return m.keyword(keyword) && m.number(first) && m.number(second) ? Row::Done : Row::NotMatched;
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
        fault = failure("Bad connection " + std::string(line) + " in Item " + item.title +
                        ": a target and its command, then no number, one or four");
        return Row::Failed;
    }
    Connection* connection = newConnection(item, fault);
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
        connection->motion = Pose{true, numbers[0], numbers[1], numbers[2], numbers[3]};
    }
    appendAt(list, last, connection);
    return Row::Done;
}

Row BlockReader::operatorRow(const LineForm& form) {
    LineMatcher m(line);
    std::string target;
    std::string input;
    if (!m.keyword(form.keyword) || !m.word(target) || !m.word(input))
        return Row::NotMatched;
    Connection* connection = newConnection(item, fault);
    if (!connection)
        return Row::Failed;
    connection->targetTitle = target;
    connection->inputName = input;
    appendAt(item.operators, lastOperator, connection);
    return Row::Done;
}

Row BlockReader::shapeRow(const LineForm& form) {
    LineMatcher m(line);
    double angle = 0.0;
    double length = 0.0;
    std::string kind;
    if (!m.keyword(form.keyword) || !m.number(angle) || !m.number(length) || !m.word(kind))
        return Row::NotMatched;
    // A kind the item cannot draw is a mistake in the lesson, not a shape to leave out
    // silently: the outline (a zone's hit region, a figure's limbs) would come out wrong.
    currentShape = item.AddShape(angle, length, kind.c_str());
    if (currentShape)
        return Row::Done;
    fault = lineFailure(LineFault::Shape, line, item.title);
    return Row::Failed;
}

Row BlockReader::shapeColorRow(const LineForm& form) {
    double value = 0.0;
    if (oneNumber(form.keyword, value) != Row::Done)
        return Row::NotMatched;
    if (currentShape)
        currentShape->SetColor(truncateToInt(value));
    return Row::Done;
}

Row BlockReader::shapeWidthRow(const LineForm& form) {
    double value = 0.0;
    if (oneNumber(form.keyword, value) != Row::Done)
        return Row::NotMatched;
    if (currentShape)
        currentShape->SetWidth(truncateCoordinate(value));
    return Row::Done;
}

// "@" lines gather the item's text: the part after the first "@" is appended as it is; an
// empty part ends a line of the text with CR LF. Pieces that do not fit are dropped.
Row BlockReader::textLine(const char* at) {
    const std::size_t used = strnlen(text, kTextSize - 1);
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

namespace {

// The failure, pointed at the line that begins at position; the lesson file is closed,
// unless reading goes on after errors.
Status failBlock(Status failed, FileHandle& lessonFile, long position) {
    failed.diagnostic().line = lineNumberAt(lessonFile, position);
    if (!ReadingRecovery::active())
        closeFile(lessonFile);
    return failed;
}

// An ITEM line or the end of the display block.
bool endsBlock(const char* line) {
    LineMatcher m(line);
    std::string word;
    return (m.keyword("ITEM") && m.word(word) && m.word(word)) || std::strstr(line, "END DISPLAY");
}

ReadingRecovery*& activeRecovery() {
    static ReadingRecovery* recovery = nullptr;
    return recovery;
}

// The lesson's line as the program keeps its texts: in UTF-8. A line of a file in the 8-bit
// code page is converted; a UTF-8 line that the line limit cut keeps no half character.
const char* decodedLine(char* line, int length, std::string& converted) {
    if (lesson().textUtf8) {
        line[utf8CutLength(std::string_view(line, static_cast<std::size_t>(length)),
                           static_cast<std::size_t>(length))] = '\0';
        return line;
    }
    for (int i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(line[i]) >= 0x80) {
            converted = westernToUtf8(std::string_view(line, static_cast<std::size_t>(length)));
            return converted.c_str();
        }
    }
    return line;
}

} // namespace

ReadingRecovery::ReadingRecovery() : outer_(activeRecovery()) {
    activeRecovery() = this;
}

ReadingRecovery::~ReadingRecovery() {
    activeRecovery() = outer_;
}

ReadingRecovery* ReadingRecovery::active() {
    return activeRecovery();
}

void ReadingRecovery::add(Status failed, Stage stage, const Item* item) {
    faults.push_back({failed.diagnostic(), stage, item});
}

Status readItemBlock(Item* item, const char* title, Display* display, FileHandle& lessonFile) {
    if (!item || !title || !*title) {
        closeFile(lessonFile);
        return failure("No title on ITEM");
    }
    if (item->title.empty())
        item->title = title;
    item->display = display;
    item->surface = display ? display->surface : nullptr;
    char line[kLineLimit + 1] = {};
    char text[BlockReader::kTextSize] = {};
    std::string converted;
    BlockReader reader{*item, line, text};
    // The last line read: where the block stopped, for a definition the type refuses.
    long lineStart = -1;
    while (true) {
        const int length = readLine(lessonFile, line, kLineLimit, lineStart);
        // The brace test comes before every command: a text line holding "}" ends the block.
        if (length < 1 || std::memchr(line, '}', static_cast<std::size_t>(length)))
            break;
        if (ReadingRecovery* recovery = ReadingRecovery::active(); recovery && endsBlock(line)) {
            // The next item or the end of the display, where the "}" was forgotten: the
            // player would take the line as one of this item's; going on, it is read again
            // as what it is.
            Status missing = failure("Item " + item->title + " has no } before this line");
            missing.diagnostic().line = lineNumberAt(lessonFile, lineStart);
            recovery->add(std::move(missing), ReadingRecovery::Stage::Reading);
            seekFile(lessonFile, lineStart);
            break;
        }
        reader.line = decodedLine(line, length, converted);
        if (reader.apply() != Row::Failed)
            continue;
        Status failed = failBlock(std::move(reader.fault), lessonFile, lineStart);
        ReadingRecovery* recovery = ReadingRecovery::active();
        if (!recovery)
            return failed;
        failed.diagnostic().message += "... ReadLsn failed";
        recovery->add(std::move(failed), ReadingRecovery::Stage::Reading, nullptr);
        reader.fault = {};
    }
    if (text[0] != '\0' && item->text.empty())
        item->text = text;
    if (Status accepted = item->acceptDefinition(); !accepted)
        return failBlock(std::move(accepted), lessonFile, lineStart);
    item->EndDefinition();
    return {};
}

} // namespace lorvenna

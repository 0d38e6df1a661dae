// Where things stand in a lesson file, for pointing at the line of a finding.
#include "tools/check/LessonSource.h"

#include "items/Display.h"
#include "platform/FileSystem.h"
#include "platform/IgnoreCase.h"
#include "platform/LineMatcher.h"
#include "platform/LineReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace lorvenna {

namespace {

// The same cut as the index reader's and the display reader's.
constexpr int kLineLimit = 240;

std::vector<long> lineStartsOf(const std::string& name) {
    std::vector<long> starts{0};
    FileHandle file = openForReading(name);
    if (isInvalid(file))
        return starts;
    char buffer[4096];
    long offset = 0;
    bool afterCr = false;
    for (long got = readBytes(file, buffer, sizeof buffer); got > 0;
         got = readBytes(file, buffer, sizeof buffer)) {
        for (long i = 0; i < got; ++i, ++offset) {
            const char c = buffer[i];
            // The LF of a CR LF pair belongs to the line the CR ended.
            if (c == '\n' && afterCr)
                starts.back() = offset + 1;
            else if (c == '\r' || c == '\n')
                starts.push_back(offset + 1);
            afterCr = c == '\r';
        }
    }
    closeFile(file);
    return starts;
}

bool isItemLine(const char* line, std::string& title) {
    LineMatcher matcher(line);
    std::string keyword;
    return matcher.keyword("ITEM") && matcher.word(keyword) && matcher.word(title);
}

// A keyword and a whole number after it: " TOTAL %ld".
bool numberAfter(const char* line, std::string_view keyword, long& value) {
    LineMatcher m(line);
    return m.keyword(keyword) && m.whole(value);
}

} // namespace

LessonSource::LessonSource(const std::string& name) : name_(name), lineStarts_(lineStartsOf(name)) {
    FileHandle file = openForReading(name);
    if (isInvalid(file))
        return;
    char line[kLineLimit + 1] = {};
    readLine(file, line, kLineLimit); // the title
    bool inPageSection = true;
    for (long position = filePosition(file); position >= 0; position = filePosition(file)) {
        if (readLine(file, line, kLineLimit) < 0 || findText(line, "END LESSON"))
            break;
        long value = 0;
        if (inPageSection) {
            if (findText(line, "END PAGES"))
                inPageSection = false;
            else if (numberAfter(line, "TOTAL", value) || numberAfter(line, "TEST", value))
                totalLine_ = position;
            continue;
        }
        // " DISPLAY %s %ld": a header names its block and gives at least one number.
        LineMatcher m(line);
        std::string blockName;
        if (m.keyword("DISPLAY") && m.word(blockName) && m.whole(value)) {
            BlockHeader header{blockName, position};
            header.x = value;
            header.placed = m.whole(header.y) && m.whole(header.width) && m.whole(header.height);
            blocks_.push_back(header);
        }
    }
    closeFile(file);
}

long LessonSource::lineAt(long position) const {
    if (position < 0)
        return 0;
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position);
    return static_cast<long>(after - lineStarts_.begin());
}

long LessonSource::itemPosition(long blockPosition, const Item& item) const {
    // Which of the display's items of this title it is.
    int wanted = 0;
    for (const Item* other = item.display ? item.display->items : nullptr; other && other != &item;
         other = other->next) {
        if (other->title == item.title)
            ++wanted;
    }
    FileHandle file = openForReading(name_);
    if (isInvalid(file) || !seekFile(file, blockPosition)) {
        closeFile(file);
        return -1;
    }
    char line[kLineLimit + 1] = {};
    long found = -1;
    for (long position = blockPosition; position >= 0; position = filePosition(file)) {
        if (readLine(file, line, kLineLimit) < 0 || findText(line, "END DISPLAY"))
            break;
        std::string title;
        if (isItemLine(line, title) && title == item.title && wanted-- == 0) {
            found = position;
            break;
        }
    }
    closeFile(file);
    return found;
}

long LessonSource::connectionLine(long blockPosition, const Item& item,
                                  const std::string& target) const {
    const long itemAt = itemPosition(blockPosition, item);
    FileHandle file = openForReading(name_);
    if (itemAt < 0 || isInvalid(file) || !seekFile(file, itemAt)) {
        closeFile(file);
        return lineAt(itemAt);
    }
    char line[kLineLimit + 1] = {};
    readLine(file, line, kLineLimit); // the ITEM line
    long found = itemAt;
    for (long position = filePosition(file); position >= 0; position = filePosition(file)) {
        if (readLine(file, line, kLineLimit) < 1 || std::strchr(line, '}'))
            break;
        bool sends = false;
        for (const char* keyword : {"OUTPUT", "ENDOUTPUT", "OPERATOR"}) {
            LineMatcher m(line);
            std::string word;
            sends =
                sends || (m.keyword(keyword) && m.word(word) && equalsIgnoringCase(word, target));
        }
        if (sends) {
            found = position;
            break;
        }
    }
    closeFile(file);
    return lineAt(found);
}

} // namespace lorvenna

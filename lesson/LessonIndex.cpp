// The lesson index: the page list read from a lesson file's page section, with the file
// position of the block of every display a page names.
#include "lesson/LessonIndex.h"

#include "lesson/LineReader.h"
#include "platform/LineMatcher.h"
#include "platform/IgnoreCase.h"
#include "lesson/PageEntry.h"
#include "platform/FixedText.h"
#include "shell/SessionState.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lorvenna {

namespace {

constexpr int kIndexLineLimit = 240;
constexpr std::size_t kMaxDisplayName = 59;
constexpr int kLastDisplaySlot = 9;

// Every display block header and every "END LESSON" line of the file, by position. Looking a
// display up from a position gives the first header of that name (ignoring case) at or after
// it, unless an "END LESSON" line stands before that header: what reading forward line by
// line from that position would find, without reading the file again for every display.
class BlockFinder {
public:
    void noteLine(long position, const char* line) {
        // A line holding "END LESSON" stops a search even when it also looks like a header.
        if (findText(line, "END LESSON")) {
            endMarks_.push_back(position);
            return;
        }
        LineMatcher m(line);
        std::string name;
        long x = 0;
        if (m.keyword("DISPLAY") && m.word(name) && m.whole(x))
            headers_[foldedCopy(name)].push_back(position);
    }

    // The position of the header line, or -1.
    long find(std::string_view name, long from) const {
        const auto found = headers_.find(foldedCopy(name));
        if (found == headers_.end())
            return -1;
        const std::vector<long>& positions = found->second;
        const auto header = std::lower_bound(positions.begin(), positions.end(), from);
        if (header == positions.end())
            return -1;
        const auto end = std::lower_bound(endMarks_.begin(), endMarks_.end(), from);
        if (end != endMarks_.end() && *end < *header)
            return -1;
        return *header;
    }

private:
    // Positions are noted in file order, so every list is sorted.
    std::unordered_map<std::string, std::vector<long>> headers_;
    std::vector<long> endMarks_;
};

// A keyword and a whole number after it: " TOTAL %ld".
bool numberAfter(const char* line, std::string_view keyword, long& value) {
    LineMatcher m(line);
    return m.keyword(keyword) && m.whole(value);
}

// A DISPLAY line of the page section whose block is looked up once the whole file is read.
struct PendingDisplay {
    PageEntry* entry;
    int slot;
    long at;    // the position of the DISPLAY line
    long after; // the position just after it
};

// Takes the lines of the page section one by one into the session's page list.
class PageSectionReader {
public:
    explicit PageSectionReader(SessionState& state) : state_(state) {}

    // False when the line cannot be taken; the reason is then in errorText.
    bool takeLine(const char* line, long at, long after) {
        long value = 0;
        // TOTAL is tried first and the line goes on to the other forms.
        if (numberAfter(line, "TOTAL", value))
            state_.questionTotal = static_cast<std::int32_t>(value);

        if (numberAfter(line, "TEST", value)) {
            state_.questionTotal = static_cast<std::int32_t>(value);
            state_.testLesson = true;
            return true;
        }
        if (numberAfter(line, "PAGE", value)) {
            startPage(static_cast<std::int32_t>(value));
            return true;
        }
        LineMatcher m(line);
        std::string name;
        if (m.keyword("DISPLAY") && m.word(name))
            return addDisplay(name.c_str(), at, after);
        return true;
    }

    const std::vector<PendingDisplay>& pending() const { return pending_; }

private:
    void startPage(std::int32_t number) {
        auto* entry = new PageEntry();
        entry->pageNumber = number;
        if (last_)
            last_->next = entry;
        else
            state_.pages = entry;
        last_ = entry;
        state_.currentEntry = entry;
        state_.pageCount = std::max(state_.pageCount, number);
        slot_ = 1;
    }

    bool addDisplay(const char* name, long at, long after) {
        PageEntry* entry = state_.currentEntry;
        if (!entry) {
            formatText(state_.errorText, "No PAGE line before Display %s", name);
            return false;
        }
        if (slot_ > kLastDisplaySlot) {
            formatText(state_.errorText, "Page %ld names more than %d Displays",
                       static_cast<long>(entry->pageNumber), kLastDisplaySlot);
            return false;
        }
        if (std::strlen(name) > kMaxDisplayName) {
            formatText(state_.errorText, "Page %ld names a Display longer than %zu characters",
                       static_cast<long>(entry->pageNumber), kMaxDisplayName);
            return false;
        }
        entry->displayName[slot_] = name;
        pending_.push_back({entry, slot_, at, after});
        ++slot_;
        return true;
    }

    SessionState& state_;
    PageEntry* last_ = nullptr;
    int slot_ = 1;
    std::vector<PendingDisplay> pending_;
};

PageLookup& pageLookup() {
    return session().pageLookup;
}

void indexPages(PageEntry* pages) {
    PageLookup& lookup = pageLookup();
    lookup = PageLookup();
    for (PageEntry* entry = pages; entry; entry = entry->next)
        lookup.byNumber[entry->pageNumber].push_back(entry);
    lookup.head = pages;
}

bool failIndex(FileHandle& file) {
    closeFile(file);
    freePages();
    session().pageCount = 0;
    return false;
}

} // namespace

bool readLessonIndex() {
    SessionState& state = session();
    freePages();
    state.pageCount = 0;
    state.questionTotal = 0;
    state.testLesson = false;

    FileHandle file = openForReading(state.lessonPath);
    if (isInvalid(file)) {
        formatText(state.errorText, "Lesson file %s is nonexistent or bad.", state.lessonPath);
        return false;
    }

    char line[kIndexLineLimit + 1] = {};
    BufferedLineReader reader(file);
    reader.read(line, kIndexLineLimit);
    setText(state.lessonTitle, line);

    // One pass over the file: the page section is taken line by line up to "END PAGES", and
    // every line of the file is noted for the display block search. Both see the lines as
    // the same reader with the same limit cuts them from the start of the file.
    PageSectionReader pageSection(state);
    BlockFinder blocks;
    bool inPageSection = true;
    bool pageSectionFailed = false;
    long failedLine = -1;
    long position = reader.position();
    while (position >= 0) {
        if (reader.read(line, kIndexLineLimit) < 0)
            break;
        const long after = reader.position();
        blocks.noteLine(position, line);
        if (inPageSection) {
            if (findText(line, "END PAGES")) {
                inPageSection = false;
            } else if (!pageSection.takeLine(line, position, after)) {
                inPageSection = false;
                pageSectionFailed = true;
                failedLine = position;
            }
        }
        position = after;
    }

    // The DISPLAY lines were read before the reason the page section stopped, so a missing
    // display block is reported first.
    for (const PendingDisplay& display : pageSection.pending()) {
        const std::string& name = display.entry->displayName[display.slot];
        const long header = blocks.find(name, display.after);
        if (header < 0) {
            formatText(state.errorText, "Page %ld specified nonexistent Display %s",
                       static_cast<long>(display.entry->pageNumber), name.c_str());
            setLastLineStart(display.at);
            return failIndex(file);
        }
        display.entry->displayOffset[display.slot] = static_cast<std::int32_t>(header);
    }
    if (pageSectionFailed) {
        setLastLineStart(failedLine);
        return failIndex(file);
    }

    closeFile(file);
    indexPages(state.pages);
    return true;
}

PageEntry* markCurrentPage(int n) {
    SessionState& state = session();
    PageLookup& lookup = pageLookup();
    PageEntry* found = nullptr;
    // A list put together otherwise than by reading the index is walked.
    if (!state.pages || lookup.head != state.pages) {
        for (PageEntry* entry = state.pages; entry; entry = entry->next) {
            entry->isCurrent = entry->pageNumber == n ? 1 : 0;
            if (entry->isCurrent)
                found = entry;
        }
        return found;
    }
    for (PageEntry* entry : lookup.marked)
        entry->isCurrent = 0;
    lookup.marked.clear();
    const auto entries = lookup.byNumber.find(n);
    if (entries == lookup.byNumber.end())
        return nullptr;
    for (PageEntry* entry : entries->second) {
        entry->isCurrent = 1;
        lookup.marked.push_back(entry);
        found = entry;
    }
    return found;
}

void freePages() {
    pageLookup() = PageLookup();
    SessionState& state = session();
    PageEntry* entry = state.pages;
    while (entry) {
        PageEntry* next = entry->next;
        delete entry;
        entry = next;
    }
    state.pages = nullptr;
    state.currentEntry = nullptr;
}

} // namespace lorvenna

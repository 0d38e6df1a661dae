// The lesson index: the page list read from a lesson file's page section, with the file
// position of the block of every display a page names.
#include "lesson/LessonIndex.h"

#include "items/ItemReader.h"
#include "items/PageEntry.h"
#include "items/RunObjects.h"
#include "lesson/BlockFinder.h"
#include "platform/FixedText.h"
#include "platform/LineMatcher.h"
#include "platform/LineReader.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lorvenna {

namespace {

// The title line as the program keeps its texts, in UTF-8.
void setLessonTitle(Lesson& read, std::string_view line) {
    setText(read.lessonTitle, read.textUtf8 ? std::string(line) : westernToUtf8(line));
}

constexpr int kIndexLineLimit = 240;
constexpr std::size_t kMaxDisplayName = 59;
constexpr int kLastDisplaySlot = kDisplaySlots - 1;

constexpr Marker kEndPages("END PAGES");

// The first byte of the line that is not white space.
const char* firstNonBlank(const char* line) {
    while (isBlank(*line))
        ++line;
    return line;
}

// A keyword and a whole number after it: " TOTAL %ld".
bool numberAfter(const char* line, std::string_view keyword, long& value) {
    LineMatcher m(line);
    return m.keyword(keyword) && m.whole(value);
}

// A line of the form " DISPLAY %s": a display named by a page; with " %ld" after the name
// it is also the header of a display's block.
struct DisplayLine {
    std::string_view name; // empty for other lines
    bool header = false;
};

DisplayLine matchDisplayLine(const char* text) {
    DisplayLine display;
    LineMatcher m(text);
    long x = 0;
    if (m.keyword("DISPLAY") && m.word(display.name))
        display.header = m.whole(x);
    return display;
}

// Takes the lines of the page section one by one into the session's page list.
class PageSectionReader {
public:
    PageSectionReader(Lesson& lesson, BlockFinder& blocks) : lesson_(lesson), blocks_(blocks) {}

    // Takes the line from its first non-blank byte on, with what matchDisplayLine found in it.
    // A failure when the line cannot be taken. Every form begins with its keyword, so the
    // line's first letter tells which forms it may match.
    Status takeLine(const char* text, long at, const DisplayLine& display) {
        long value = 0;
        switch (*text) {
        case 'T':
            // TOTAL is tried first and the line goes on to the other forms.
            if (numberAfter(text, "TOTAL", value))
                lesson_.questionTotal = static_cast<std::int32_t>(value);
            if (numberAfter(text, "TEST", value)) {
                lesson_.questionTotal = static_cast<std::int32_t>(value);
                lesson_.testLesson = true;
            }
            return {};
        case 'P':
            if (numberAfter(text, "PAGE", value))
                startPage(static_cast<std::int32_t>(value));
            return {};
        case 'D':
            if (display.name.empty())
                return {};
            return addDisplay(display.name, at);
        default:
            return {};
        }
    }

    // (page number, entry) in list order
    std::vector<std::pair<std::int32_t, PageEntry*>>& pages() { return pages_; }

private:
    void startPage(std::int32_t number) {
        auto* entry = new PageEntry;
        entry->pageNumber = number;
        if (last_)
            last_->next = entry;
        else
            lesson_.pages = entry;
        last_ = entry;
        lesson_.pageCount = std::max(lesson_.pageCount, number);
        slot_ = 1;
        pages_.emplace_back(number, entry);
    }

    Status addDisplay(std::string_view name, long at) {
        PageEntry* entry = last_;
        if (!entry)
            return failure("No PAGE line before Display " + std::string(name));
        const std::string page = std::to_string(entry->pageNumber);
        if (slot_ > kLastDisplaySlot)
            return failure("Page " + page + " names more than " + std::to_string(kLastDisplaySlot) +
                           " Displays");
        if (name.size() > kMaxDisplayName)
            return failure("Page " + page + " names a Display longer than " +
                           std::to_string(kMaxDisplayName) + " characters");
        entry->displayName.set(slot_, name);
        blocks_.wait(entry, slot_, at);
        ++slot_;
        return {};
    }

    Lesson& lesson_;
    BlockFinder& blocks_;
    PageEntry* last_ = nullptr;
    int slot_ = 1;
    std::vector<std::pair<std::int32_t, PageEntry*>> pages_;
};

PageLookup& pageLookup() {
    return lesson().pageLookup;
}

// Takes the page list and its entries by number, in list order.
void indexPages(PageEntry* pages, std::vector<std::pair<std::int32_t, PageEntry*>>&& byNumber) {
    PageLookup& lookup = pageLookup();
    lookup = PageLookup();
    lookup.byNumber = std::move(byNumber);
    // Pages mostly come in order already; the sort keeps entries of one number in list order.
    const auto byPage = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (!std::is_sorted(lookup.byNumber.begin(), lookup.byNumber.end(), byPage))
        std::stable_sort(lookup.byNumber.begin(), lookup.byNumber.end(), byPage);
    lookup.head = pages;
}

// The failure, pointed at the line that begins at position.
Status failIndex(FileHandle& file, Status failed, long position) {
    Diagnostic& diagnostic = failed.diagnostic();
    diagnostic.file = lesson().lessonPath;
    diagnostic.line = lineNumberAt(file, position);
    closeFile(file);
    freePages();
    lesson().pageCount = 0;
    return failed;
}

} // namespace

Status readLessonIndex() {
    Lesson& read = lesson();
    freePages();
    read.pageCount = 0;
    read.questionTotal = 0;
    read.testLesson = false;

    FileHandle file = openForReading(read.lessonPath);
    if (isInvalid(file))
        return Diagnostic{"Lesson file " + std::string(read.lessonPath) + " is nonexistent or bad.",
                          read.lessonPath, 0};

    BufferedLineReader reader(file);
    const char* line = nullptr;
    reader.readInPlace(line, kIndexLineLimit);
    // Decoded once the whole file has told its encoding.
    const std::string title = line ? line : "";

    // One pass over the file: the page section is taken line by line up to "END PAGES", and
    // every line of the file is noted for the display block search. Both see the lines as
    // the same reader with the same limit cuts them from the start of the file.
    BlockFinder blocks;
    PageSectionReader pageSection(read, blocks);
    bool inPageSection = true;
    Status pageSectionRead;
    long failedLine = -1;
    long position = reader.position();
    while (position >= 0) {
        const int length = reader.readInPlace(line, kIndexLineLimit);
        if (length < 0)
            break;
        const long after = reader.position();
        const char* text = firstNonBlank(line);
        const DisplayLine display = *text == 'D' ? matchDisplayLine(text) : DisplayLine();
        blocks.noteLine(position, line, length, display.header ? display.name : std::string_view());
        if (inPageSection) {
            if (holdsMarker(line, length, kEndPages)) {
                inPageSection = false;
            } else if (Status taken = pageSection.takeLine(text, position, display); !taken) {
                inPageSection = false;
                pageSectionRead = std::move(taken);
                failedLine = position;
            }
        }
        position = after;
    }

    read.textUtf8 = reader.readUtf8();
    setLessonTitle(read, title);

    // Going on after errors, a page keeps the displays that have blocks: each missing one is
    // noted and left empty.
    if (ReadingRecovery* recovery = ReadingRecovery::active()) {
        for (const BlockFinder::Waiting* missing : blocks.allMissing()) {
            const std::string name(missing->entry->displayName[missing->slot]);
            Status failed = failure("Page " + std::to_string(missing->entry->pageNumber) +
                                    " specified nonexistent Display " + name);
            failed.diagnostic().line = lineNumberAt(file, missing->at);
            recovery->add(std::move(failed), ReadingRecovery::Stage::Reading);
            missing->entry->displayOffset[missing->slot] = kNoBlock;
        }
    }
    // The DISPLAY lines were read before the reason the page section stopped, so a missing
    // display block is reported first.
    if (const BlockFinder::Waiting* missing = blocks.firstMissing();
        missing && !ReadingRecovery::active()) {
        const std::string name(missing->entry->displayName[missing->slot]);
        return failIndex(file,
                         failure("Page " + std::to_string(missing->entry->pageNumber) +
                                 " specified nonexistent Display " + name),
                         missing->at);
    }
    if (!pageSectionRead)
        return failIndex(file, std::move(pageSectionRead), failedLine);

    closeFile(file);
    indexPages(read.pages, std::move(pageSection.pages()));
    return {};
}

PageEntry* markCurrentPage(int n) {
    PageLookup& lookup = pageLookup();
    PageEntry* found = nullptr;
    // A list put together otherwise than by reading the index is walked.
    if (!lesson().pages || lookup.head != lesson().pages) {
        for (PageEntry* entry = lesson().pages; entry; entry = entry->next) {
            entry->isCurrent = entry->pageNumber == n ? 1 : 0;
            if (entry->isCurrent)
                found = entry;
        }
        return found;
    }
    for (PageEntry* entry : lookup.marked)
        entry->isCurrent = 0;
    lookup.marked.clear();
    const auto number = static_cast<std::int32_t>(n);
    auto at = std::lower_bound(lookup.byNumber.begin(), lookup.byNumber.end(), number,
                               [](const auto& page, std::int32_t key) { return page.first < key; });
    for (; at != lookup.byNumber.end() && at->first == number; ++at) {
        at->second->isCurrent = 1;
        lookup.marked.push_back(at->second);
        found = at->second;
    }
    return found;
}

void freePages() {
    pageLookup() = PageLookup();
    PageEntry* entry = lesson().pages;
    while (entry) {
        PageEntry* next = entry->next;
        delete entry;
        entry = next;
    }
    lesson().pages = nullptr;
    pageOnScreen().currentEntry = nullptr;
}

} // namespace lorvenna

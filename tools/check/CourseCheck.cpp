// Checking a whole course folder the way the player reads it.
#include "tools/check/CourseCheck.h"

#include "items/AnswerFeedback.h"
#include "items/AnswerKeys.h"
#include "items/Connection.h"
#include "items/Display.h"
#include "items/Drawing.h"
#include "items/Item.h"
#include "items/ItemReader.h"
#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "lesson/LessonList.h"
#include "lesson/PageBuilder.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/LineReader.h"
#include "platform/ScreenScale.h"
#include "platform/TextCodec.h"
#include "shell/StartUp.h"
#include "tools/check/LessonSource.h"
#include "tools/check/SelfPlay.h"
#include "tools/common/SilentBoxes.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>

namespace lorvenna {

namespace {

struct HelpFile {
    const char* name;
    bool forQuestions; // shown by the help key only on a page that asks a question
};

// The help texts the player shows: the start dialog's two, the grade review's, and the
// help key's on pages without and with a question.
constexpr HelpFile kHelpFiles[] = {
    {"STARTUP.TXT", false},  {"CREDITS.TXT", false},  {"REPORT.TXT", false},
    {"REGULAR1.TXT", false}, {"REGULAR2.TXT", false}, {"TESTING.TXT", true},
};

constexpr const char* kStartupActionFailed = "StartupAction failed in Item ";

std::string plural(int count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// The name of a folder of the course as it stands on the disk ("lsns" or "LSNS").
std::string folderName(const char* name) {
    const std::string host = hostPath(name);
    const std::size_t slash = host.find_last_of('/');
    return slash == std::string::npos ? host : host.substr(slash + 1);
}

// The displays of the page shown go, as a failed page leaves them for the teardown.
const PageEntry* entryOfPage(int n) {
    const PageEntry* found = nullptr;
    for (const PageEntry* entry = lesson().pages; entry; entry = entry->next) {
        if (entry->pageNumber == n)
            found = entry;
    }
    return found;
}

constexpr const char* kConnectFailed = "Connect failed on ";

// What a picture file that is no BMP is, by its first bytes; nullptr for a BMP, or for
// something not known.
const char* otherPictureKind(const std::string& picture) {
    FileHandle file = openForReading(picture);
    unsigned char head[12] = {};
    const long got = readBytes(file, head, sizeof head);
    closeFile(file);
    if (got < 4 || (head[0] == 'B' && head[1] == 'M'))
        return nullptr;
    if (head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G')
        return "a PNG picture";
    if (head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF)
        return "a JPEG picture";
    if (head[0] == 'G' && head[1] == 'I' && head[2] == 'F' && head[3] == '8')
        return "a GIF picture";
    if ((head[0] == 'I' && head[1] == 'I' && head[2] == 42) ||
        (head[0] == 'M' && head[1] == 'M' && head[3] == 42))
        return "a TIFF picture";
    if (got >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WEBP", 4) == 0)
        return "a WebP picture";
    return "not a picture this program knows";
}

bool hasWildcard(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

} // namespace

// One lesson: its title, index, display blocks and pages.
class CourseCheck::LessonRun {
public:
    LessonRun(CourseCheck& check, const std::string& fileName)
        : check_(check), fileName_(fileName), name_("LSNS\\" + fileName),
          shown_(check.lessonFolder_ + "/" + fileName), source_(name_) {}

    void run() {
        const std::size_t first = check_.findings_.size();
        runChecks();
        // The lesson's findings in the order of its lines, whatever step found them.
        std::stable_sort(check_.findings_.begin() + static_cast<std::ptrdiff_t>(first),
                         check_.findings_.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
    }

private:
    void runChecks() {
        check_.checkEncoding(name_, shown_);
        checkTitle();
        setText(lesson().lessonPath, name_);
        Status index;
        {
            // A page naming a display without a block keeps its other displays.
            ReadingRecovery recovery;
            index = readLessonIndex();
            for (const ReadingRecovery::Fault& fault : recovery.faults)
                error(fault.diagnostic.line, 0, fault.diagnostic.message);
        }
        const bool indexed = !index.failed();
        if (!indexed)
            error(index.diagnostic().line, 0, index.message());
        readBlocks(indexed);
        if (indexed)
            playPages();
        lessonTeardown();
    }

    // One cause, one finding: a display on several pages, or a fault met while reading a
    // block and again while building its page, is reported once.
    void error(long line, int page, const std::string& text) {
        if (!reported_.insert({line, text}).second)
            return;
        ++errors_;
        check_.add(Severity::Error, shown_, line, page, text);
    }
    void warning(long line, int page, const std::string& text) {
        if (reported_.insert({line, text}).second)
            check_.add(Severity::Warning, shown_, line, page, text);
    }

    // The lesson is opened by the numbers of its title line: they must name this file.
    void checkTitle() {
        LessonList list;
        list.build(lesson(), 0);
        const auto& entries = list.entries();
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [&](const auto& e) { return e.fileName == fileName_; });
        if (entry == entries.end())
            return;
        SilentBoxes boxes;
        if (list.take(static_cast<int>(entry - entries.begin()), lesson()) != TakeResult::Taken) {
            error(1, 0,
                  boxes.shown().empty()
                      ? "No lesson numbers in the title line"
                      : boxes.shown().back().caption + " " + boxes.shown().back().text);
            return;
        }
        const std::string opened = lesson().lessonPath;
        if (equalsIgnoringCase(opened, name_))
            return;
        error(1, 0,
              "The title line's numbers name the lesson file " + opened + ", not this file " +
                  name_ + ": the player opens that file for this lesson (" +
                  (fileExists(opened) ? "it is another lesson" : "it does not exist") +
                  "); give the title the numbers of the file name");
        lessonTeardown();
    }

    // Every display block the pages name, and every other block of the file, read on its own.
    void readBlocks(bool indexed) {
        std::map<long, std::string> blocks;
        for (const BlockHeader& header : source_.blocks())
            blocks.emplace(header.position, header.name);
        std::set<long> named;
        for (const PageEntry* entry = indexed ? lesson().pages : nullptr; entry;
             entry = entry->next) {
            for (int slot = 1; slot <= entry->namedSlots(); ++slot) {
                if (entry->displayOffset[slot] == kNoBlock)
                    continue;
                named.insert(entry->displayOffset[slot]);
                blocks.emplace(entry->displayOffset[slot], entry->displayName[slot]);
            }
        }
        for (const auto& [position, name] : blocks) {
            if (indexed && !named.count(position))
                warning(source_.lineAt(position), 0, "Display " + name + " is on no page");
            readBlock(position, name);
        }
    }

    void readBlock(long position, const std::string& name) {
        auto* display = new Display();
        display->name = name;
        // Reading goes on after an error, so every slip of the block is listed.
        ReadingRecovery recovery;
        const Status read = ReadLsn(display, position);
        for (const ReadingRecovery::Fault& fault : recovery.faults)
            error(fault.diagnostic.line > 0 ? fault.diagnostic.line : source_.lineAt(position), 0,
                  fault.diagnostic.message);
        checkPlacement(position, name);
        if (!read) {
            // A block that cannot be opened at all is pointed at by its header.
            const long line = read.diagnostic().line;
            error(line > 0 ? line : source_.lineAt(position), 0, read.message());
            failedBlocks_.insert(position);
        } else {
            checkPictures(display, position);
            for (const Item* item = display->items; item; item = item->next)
                check_.asksQuestions_ = check_.asksQuestions_ || item->keyKinds != 0;
        }
        deleteDisplay(display);
    }

    void checkPictures(Display* display, long blockPosition) {
        for (Item* item = display->items; item; item = item->next) {
            if (!item->isType(ItemType::Bmp) || item->text.empty())
                continue;
            const std::string picture = "BMPS\\" + item->text + ".BMP";
            std::string problem;
            if (hasWildcard(item->text) || !fileExists(picture))
                // The picture item's own words, which its failed start on a page does not show.
                problem = "Image " + picture + " not present in BMPS folder!";
            else if (const char* kind = otherPictureKind(picture))
                problem =
                    "Image " + picture + " is " + kind + ", not a BMP picture: save it as BMP";
            else if (!item->StartupAction())
                // The player has no words for this: its page only fails to start.
                problem = "Image " + picture + " is damaged or too large to show";
            else
                continue;
            badPictures_.insert(upperCase(picture));
            error(source_.lineAt(source_.itemPosition(blockPosition, *item)), 0, problem);
        }
    }

    // The pages in the order a student goes ahead through them, each built, then played.
    void playPages() {
        SelfPlay play;
        for (int n = 1; n <= lesson().pageCount; ++n) {
            if (usesFailedBlock(entryOfPage(n))) {
                deleteShownDisplays(); // its block's error is reported already
                continue;
            }
            ReadingRecovery recovery;
            if (const Status built = buildPage(n); !built) {
                // A page that fails once its blocks are read fails on one of its items,
                // which the diagnostic does not name.
                const long line = built.diagnostic().line;
                error(line > 0 ? line : lineOf(failingItem(built.message())), n, built.message());
                deleteShownDisplays();
                continue;
            }
            reportPageFaults(n, recovery.faults);
            ++check_.pages_;
            checkLayout(n);
            std::vector<Item*> questions = questionsOfPage();
            for (const PlayedQuestion& played : play.playPage()) {
                ++asked_;
                checkMark(n, played);
                questions.erase(std::remove(questions.begin(), questions.end(), played.question),
                                questions.end());
                reportPlay(n, played);
            }
            for (Item* unasked : questions)
                warning(lineOf(unasked), n, "Question " + unasked->title + " is never asked");
        }
        check_.questions_ += asked_;
        checkTotal();
    }

    bool usesFailedBlock(const PageEntry* entry) const {
        for (int slot = 1; entry && slot <= entry->namedSlots(); ++slot) {
            if (failedBlocks_.count(entry->displayOffset[slot]))
                return true;
        }
        return false;
    }

    void reportPlay(int page, const PlayedQuestion& played) {
        const long line = lineOf(played.question);
        const std::string& title = played.title;
        switch (played.outcome) {
        case PlayOutcome::Right:
            return;
        case PlayOutcome::Wrong:
            error(line, page, "Question " + title + " is judged wrong when answered from its keys");
            return;
        case PlayOutcome::NotJudged:
            error(line, page, "Question " + title + " takes no answer from its keys");
            return;
        case PlayOutcome::NoWayToAnswer:
            error(line, page, "Question " + title + " cannot be answered: " + played.detail);
            return;
        }
    }

    void checkTotal() {
        // Pages that could not be built ask nothing: counting their questions would only
        // repeat their errors.
        if (lesson().questionTotal == asked_ || errors_ > 0)
            return;
        const std::string asked = plural(asked_, "question");
        if (source_.totalLine() < 0) {
            warning(0, 0, "No TOTAL line, and the lesson asks " + asked + ": no score is shown");
            return;
        }
        warning(source_.lineAt(source_.totalLine()), 0,
                "TOTAL " + std::to_string(lesson().questionTotal) + " differs from the " + asked +
                    " the lesson asks");
    }

    // The items of the page shown that hold keys.
    static std::vector<Item*> questionsOfPage() {
        std::vector<Item*> questions;
        for (Display* display : shownDisplays()) {
            for (Item* item = display->items; item; item = item->next) {
                if (item->keyKinds != 0)
                    questions.push_back(item);
            }
        }
        return questions;
    }

    // The item a failed page build stopped at: connecting and checking keys again stops at
    // the same item; a failed start names its item.
    static Item* failingItem(const std::string& message) {
        Item* found = nullptr;
        for (Display* display : shownDisplays()) {
            for (Item* item = display->items; item && !found; item = item->next) {
                if (!item->Connect() || !CheckKeys(*item))
                    found = item;
            }
        }
        for (Display* display : shownDisplays()) {
            for (Item* item = display->items; item && !found; item = item->next) {
                if (message == kStartupActionFailed + item->title)
                    found = item;
            }
        }
        return found;
    }

    // The line of an item's ITEM line on the page shown; 0 when it cannot be told.
    long lineOf(const Item* item) const {
        if (!item || !pageOnScreen().currentEntry)
            return 0;
        for (int slot = 1; slot < kDisplaySlots; ++slot) {
            if (pageOnScreen().displays[slot] && pageOnScreen().displays[slot] == item->display)
                return source_.lineAt(
                    source_.itemPosition(pageOnScreen().currentEntry->displayOffset[slot], *item));
        }
        return 0;
    }

    // What the page builder noted while it went on after errors. The reading faults were
    // reported with their blocks; a picture reported missing or damaged fails its start too.
    void reportPageFaults(int page, const std::vector<ReadingRecovery::Fault>& faults) {
        for (const ReadingRecovery::Fault& fault : faults) {
            const Item* item = fault.item;
            switch (fault.stage) {
            case ReadingRecovery::Stage::Reading:
                break;
            case ReadingRecovery::Stage::Connecting:
                if (item && fault.diagnostic.message.rfind(kConnectFailed, 0) == 0)
                    reportConnections(page, *item);
                else
                    error(lineOf(item), page, fault.diagnostic.message);
                break;
            case ReadingRecovery::Stage::Starting:
                if (item && item->isType(ItemType::Bmp) &&
                    badPictures_.count(upperCase("BMPS\\" + item->text + ".BMP")))
                    break;
                error(lineOf(item), page, fault.diagnostic.message);
                break;
            }
        }
    }

    // Every connection of the item that sends to nothing on the page, at its own line.
    void reportConnections(int page, const Item& item) {
        for (const Connection* list : {item.outputs, item.endOutputs, item.operators}) {
            for (const Connection* c = list; c; c = c->next) {
                if (c->targetTitle.empty() || findOnPage(c->targetTitle))
                    continue;
                error(source_.connectionLine(blockOf(&item), item, c->targetTitle), page,
                      kConnectFailed + c->targetTitle + ": no item " + c->targetTitle +
                          " is on the page");
            }
        }
    }

    static const Item* findOnPage(const std::string& title) {
        for (Display* display : shownDisplays()) {
            for (const Item* item = display->items; item; item = item->next) {
                if (equalsIgnoringCase(item->title, title))
                    return item;
            }
        }
        return nullptr;
    }

    // A display block header placing the display past the page.
    void checkPlacement(long position, const std::string& name) {
        for (const BlockHeader& header : source_.blocks()) {
            if (header.position != position || !header.placed)
                continue;
            if (header.x >= 0 && header.y >= 0 && header.x + header.width <= kPageWidth &&
                header.y + header.height <= kPageHeight)
                return;
            warning(source_.lineAt(position), 0,
                    "Display " + name + " at " + std::to_string(header.x) + " " +
                        std::to_string(header.y) + ", " + std::to_string(header.width) + " by " +
                        std::to_string(header.height) + ", runs past the 800 by 600 page");
            return;
        }
    }

    // Items placed outside their display, and texts running past its bottom, once a block.
    void checkLayout(int page) {
        repaintAllDisplays(); // outlines and text boxes are measured when drawn
        for (Display* display : shownDisplays()) {
            const long block = blockOfDisplay(display);
            if (!layoutChecked_.insert(block).second)
                continue;
            const Rect client = display->clientRect;
            for (const Item* item = display->items; item; item = item->next) {
                const int x = truncateCoordinate(item->pose.x);
                const int y = truncateCoordinate(item->pose.y);
                if (!client.contains(x, y) && (x != client.right || y > client.bottom)) {
                    warning(lineOf(item), page,
                            "Item " + item->title + " at " + std::to_string(x) + " " +
                                std::to_string(y) + " lies outside its display " + display->name +
                                " (" + std::to_string(client.width()) + " by " +
                                std::to_string(client.height()) + ")");
                    continue;
                }
                const bool isText = item->isType(ItemType::Text) || item->isType(ItemType::Label);
                const Rect box = textBox(*item);
                if (isText && !item->text.empty() && box.bottom > client.bottom)
                    warning(lineOf(item), page,
                            "The text of " + item->title + " runs " +
                                std::to_string(box.bottom - client.bottom) +
                                " pixels past the bottom of its display " + display->name);
            }
        }
    }

    // The answer mark covering the text of another item of its display.
    void checkMark(int page, const PlayedQuestion& played) {
        Display* display = played.markDisplay;
        if (!display || !isShown(display))
            return;
        const Rect mark{played.mark.x, played.mark.y, played.mark.x + kMarkSize,
                        played.mark.y + kMarkSize};
        for (const Item* item = display->items; item; item = item->next) {
            const bool isText = item->isType(ItemType::Text) || item->isType(ItemType::Label);
            if (!isText || item == played.chosen || item->text.empty() ||
                item->visibility == Visibility::Hidden)
                continue;
            const Rect box = textBox(*item);
            if (mark.left >= box.right || box.left >= mark.right || mark.top >= box.bottom ||
                box.top >= mark.bottom)
                continue;
            warning(lineOf(played.chosen ? played.chosen : played.question), page,
                    "The answer mark of " + (played.chosen ? played.chosen->title : played.title) +
                        " at " + std::to_string(mark.left) + " " + std::to_string(mark.top) +
                        " covers the text of " + item->title);
        }
    }

    // Where an item's words are, once drawn: a text's wrapped paragraphs, a label's framed
    // caption.
    static Rect textBox(const Item& item) { return item.bounds; }

    long blockOfDisplay(const Display* display) const {
        const PageEntry* entry = pageOnScreen().currentEntry;
        for (int slot = 1; entry && slot < kDisplaySlots; ++slot) {
            if (pageOnScreen().displays[slot] == display)
                return entry->displayOffset[slot];
        }
        return -1;
    }
    long blockOf(const Item* item) const { return blockOfDisplay(item->display); }

    static bool isShown(const Display* display) {
        for (Display* shown : shownDisplays()) {
            if (shown == display)
                return true;
        }
        return false;
    }

    static std::string upperCase(std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    }

    CourseCheck& check_;
    std::set<std::pair<long, std::string>> reported_;
    std::set<std::string> badPictures_;
    std::set<long> layoutChecked_;
    int errors_ = 0;
    std::string fileName_;
    std::string name_;
    std::string shown_;
    LessonSource source_;
    std::set<long> failedBlocks_;
    int asked_ = 0;
};

std::string formatFinding(const Finding& finding) {
    std::string text = finding.file;
    // Appended piece by piece: a concatenated temporary here draws a false -Wrestrict from
    // the optimiser of g++ 12.
    if (finding.line > 0) {
        text += ':';
        text += std::to_string(finding.line);
    }
    text += ": ";
    if (finding.page > 0) {
        text += "page ";
        text += std::to_string(finding.page);
        text += ": ";
    }
    if (finding.severity == Severity::Warning)
        text += "warning: ";
    return text + finding.text;
}

void CourseCheck::add(Severity severity, std::string file, long line, int page, std::string text) {
    // Files are named as the author's system names them, with "/".
    std::replace(text.begin(), text.end(), '\\', '/');
    std::replace(file.begin(), file.end(), '\\', '/');
    findings_.push_back({severity, std::move(file), line, page, std::move(text)});
}

int CourseCheck::errorCount() const {
    return static_cast<int>(std::count_if(findings_.begin(), findings_.end(), [](const Finding& f) {
        return f.severity == Severity::Error;
    }));
}

int CourseCheck::warningCount() const {
    return static_cast<int>(findings_.size()) - errorCount();
}

std::string CourseCheck::summary() const {
    return plural(lessons_, "lesson") + ", " + plural(pages_, "page") + ", " +
           plural(questions_, "question") + ": " + plural(errorCount(), "error") + ", " +
           plural(warningCount(), "warning");
}

void CourseCheck::checkFolder(const std::string& folder, const SilentBoxes& boxes) {
    setWorkingFolder(folder);
    if (!checkWorkingFolder() && !boxes.shown().empty())
        add(Severity::Error, folder, 0, 0, boxes.shown().back().caption);
    lessonFolder_ = folderName("LSNS");
}

void CourseCheck::run(const std::string& folder) {
    // Whatever the player would say in a box is recorded, never shown.
    SilentBoxes boxes;
    checkFolder(folder, boxes);
    for (const std::string& fileName : findFiles("LSNS\\*.LSN"))
        checkLesson(fileName);
    checkHelpFiles();
}

void CourseCheck::runLesson(const std::string& folder, const std::string& fileName) {
    SilentBoxes boxes;
    checkFolder(folder, boxes);
    checkLesson(fileName);
    checkHelpFiles();
}

void CourseCheck::checkLesson(const std::string& fileName) {
    ++lessons_;
    LessonRun(*this, fileName).run();
}

// A file that is not UTF-8 as a whole but holds UTF-8 characters: the file was put
// together from two editors' work, and the UTF-8 part shows as pairs of odd characters.
void CourseCheck::checkEncoding(const std::string& name, const std::string& shown) {
    FileHandle file = openForReading(name);
    if (isInvalid(file))
        return;
    const EncodingScan scan = scanEncoding(file);
    closeFile(file);
    if (!scan.readable || scan.utf8 || !scan.utf8Sequences)
        return;
    LessonSource source(name);
    add(Severity::Warning, shown, source.lineAt(scan.firstBadOffset), 0,
        "The file mixes UTF-8 and 8-bit text (this line is not UTF-8): it is read as "
        "8-bit Western text, so its UTF-8 characters show wrong; save it all as UTF-8");
}

void CourseCheck::checkHelpFiles() {
    const std::string folder = folderName("HELP");
    for (const HelpFile& help : kHelpFiles) {
        if (help.forQuestions && !asksQuestions_)
            continue;
        const std::string name = std::string("HELP\\") + help.name;
        if (!fileExists(name))
            add(Severity::Error, folder + "/" + help.name, 0, 0, "Help text is missing");
        else
            checkEncoding(name, folder + "/" + help.name);
    }
}

} // namespace lorvenna

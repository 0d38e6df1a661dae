// Checking a whole course folder the way the player reads it.
#include "tools/check/CourseCheck.h"

#include "items/AnswerKeys.h"
#include "items/Display.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "lesson/LessonList.h"
#include "lesson/PageBuilder.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/LineReader.h"
#include "shell/StartUp.h"
#include "tools/check/LessonSource.h"
#include "tools/check/SelfPlay.h"
#include "tools/common/SilentBoxes.h"

#include <algorithm>
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
void dropDisplays() {
    for (Display*& slot : pageOnScreen().displays) {
        deleteDisplay(slot);
        slot = nullptr;
    }
}

const PageEntry* entryOfPage(int n) {
    const PageEntry* found = nullptr;
    for (const PageEntry* entry = lesson().pages; entry; entry = entry->next) {
        if (entry->pageNumber == n)
            found = entry;
    }
    return found;
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
        checkTitle();
        setText(lesson().lessonPath, name_);
        const Status index = readLessonIndex();
        const bool indexed = !index.failed();
        if (!indexed)
            error(index.diagnostic().line, 0, index.message());
        readBlocks(indexed);
        if (indexed)
            playPages();
        lessonTeardown();
    }

private:
    void error(long line, int page, const std::string& text) {
        check_.add(Severity::Error, shown_, line, page, text);
    }
    void warning(long line, int page, const std::string& text) {
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
        if (const Status index = readLessonIndex(); !index)
            error(1, 0, index.message());
        else
            error(1, 0, "The title line opens " + opened + ", not this file");
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
        if (const Status read = ReadLsn(display, position); !read) {
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
            else if (!item->StartupAction())
                // The player has no words for this: its page only fails to start.
                problem = "Image " + picture + " is damaged or too large to show";
            else
                continue;
            error(source_.lineAt(source_.itemPosition(blockPosition, *item)), 0, problem);
        }
    }

    // The pages in the order a student goes ahead through them, each built, then played.
    void playPages() {
        SelfPlay play;
        for (int n = 1; n <= lesson().pageCount; ++n) {
            if (usesFailedBlock(entryOfPage(n))) {
                dropDisplays(); // its block's error is reported already
                continue;
            }
            if (const Status built = buildPage(n); !built) {
                // A page that fails once its blocks are read fails on one of its items,
                // which the diagnostic does not name.
                const long line = built.diagnostic().line;
                error(line > 0 ? line : lineOf(failingItem(built.message())), n, built.message());
                dropDisplays();
                continue;
            }
            ++check_.pages_;
            std::vector<Item*> questions = questionsOfPage();
            for (const PlayedQuestion& played : play.playPage()) {
                ++asked_;
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
        if (lesson().questionTotal == asked_)
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

    CourseCheck& check_;
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

void CourseCheck::checkHelpFiles() {
    const std::string folder = folderName("HELP");
    for (const HelpFile& help : kHelpFiles) {
        if (help.forQuestions && !asksQuestions_)
            continue;
        if (!fileExists(std::string("HELP\\") + help.name))
            add(Severity::Error, folder + "/" + help.name, 0, 0, "Help text is missing");
    }
}

} // namespace lorvenna

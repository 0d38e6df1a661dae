// Reading display blocks, building pages from them, and tearing a lesson down.
#include "lesson/PageBuilder.h"

#include "items/AnswerKeys.h"
#include "items/AppServices.h"
#include "items/Display.h"
#include "items/Drawing.h"
#include "items/Item.h"
#include "items/ItemReader.h"
#include "items/ItemTypes.h"
#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "platform/ChildWindow.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/LineMatcher.h"
#include "platform/LineReader.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <memory>
#include <string>

namespace lorvenna {

namespace {

constexpr int kLineLimit = 240;

// A display placed further out than this (in pixels, either way) has no use on any screen,
// nor one wider or taller than the largest: a wild number in a lesson file is brought within
// them instead of asking for windows whose pictures would take gigabytes.
constexpr long kMaxDisplayPlace = 4096;
constexpr long kMaxDisplayExtent = 2048;

struct DisplayHeader {
    long x = 0;
    long y = 0;
    long width = 0;
    long height = 0;
    char flag = 0;
};

// " DISPLAY %s %ld %ld %ld %ld %c": all six fields are required. The name is not kept: the
// display's name comes from the page section.
bool matchHeader(const char* line, DisplayHeader& header) {
    LineMatcher matcher(line);
    std::string name;
    if (!matcher.keyword("DISPLAY") || !matcher.word(name) || !matcher.whole(header.x) ||
        !matcher.whole(header.y) || !matcher.whole(header.width) || !matcher.whole(header.height))
        return false;
    const char* rest = matcher.rest();
    while (isBlank(*rest))
        ++rest;
    if (*rest == '\0')
        return false;
    header.flag = *rest;
    return true;
}

// " ITEM %s %s": the type keyword and the title.
bool matchItemLine(const char* line, std::string& keyword, std::string& title) {
    LineMatcher matcher(line);
    return matcher.keyword("ITEM") && matcher.word(keyword) && matcher.word(title);
}

int boundedCoordinate(long value) {
    return static_cast<int>(std::clamp(value, -kMaxDisplayPlace, kMaxDisplayPlace));
}

int boundedExtent(long value) {
    return static_cast<int>(std::clamp(value, 0L, kMaxDisplayExtent));
}

// Makes the display's window from its header line.
Status createDisplayWindow(Display* display, const DisplayHeader& header) {
    const int id = nextControlId();
    // In page units: the main window places and scales the window on the screen.
    const int x = boundedCoordinate(header.x);
    const int y = boundedCoordinate(header.y);
    const Rect rect{x, y, x + boundedExtent(header.width), y + boundedExtent(header.height)};
    display->window = appServices().createDisplayWindow(display, id, rect);
    if (!display->window)
        return failure("Internal failure in Display");
    display->clientRect = display->window->clientRect();
    display->window->setUserData(display);
    display->buffered = header.flag == 'A' ? 1 : 0;
    createDrawingSurfaces(display);
    return {};
}

// A display that failed to read loses what it had made; its Display stays, empty.
void discardDisplayContents(Display* display) {
    display->clearItems();
    display->surface = nullptr;
    display->windowSurface = nullptr;
    if (display->window)
        display->window->setUserData(nullptr);
    display->window.reset();
}

// The failure, pointed at the line of the block that begins at position.
Status failBlock(Status failed, FileHandle& file, long position) {
    failed.diagnostic().line = lineNumberAt(file, position);
    return failed;
}

Status readDisplayBlock(Display* display, FileHandle& file) {
    char line[kLineLimit + 1];
    for (;;) {
        long lineStart = -1;
        if (readLine(file, line, kLineLimit, lineStart) < 0 || findText(line, "END DISPLAY"))
            return {};

        DisplayHeader header;
        if (matchHeader(line, header)) {
            // A block that lacks its END DISPLAY runs on into the next block: the display
            // keeps the one window it has and the following items join its list.
            if (display->window)
                continue;
            if (Status made = createDisplayWindow(display, header); !made)
                return failBlock(std::move(made), file, lineStart);
            continue;
        }

        std::string keyword;
        std::string title;
        if (!matchItemLine(line, keyword, title))
            continue;
        ReadingRecovery* recovery = ReadingRecovery::active();
        std::unique_ptr<Item> item = makeItem(keyword);
        if (!item) {
            // Going on, the lines of the unknown item are passed over up to the next ITEM.
            if (!recovery)
                return failBlock(failure("Item Type not proper"), file, lineStart);
            recovery->add(failBlock(failure("Item Type not proper: ITEM " + keyword + " " + title),
                                    file, lineStart),
                          ReadingRecovery::Stage::Reading);
            continue;
        }
        // Items draw on the display's window: without a header line there is none.
        if (!display->window)
            return failBlock(failure("No proper DISPLAY line for " + display->name), file,
                             lineStart);
        item->display = display;
        item->surface = display->surface;
        if (!lesson().textUtf8)
            title = westernToUtf8(title);
        if (Status read = readItemBlock(item.get(), title.c_str(), display, file); !read) {
            read.diagnostic().message += "... ReadLsn failed";
            if (!recovery)
                return read;
            // The item is left out; the page is built from those that read.
            recovery->add(std::move(read), ReadingRecovery::Stage::Reading);
            continue;
        }
        display->appendItem(item.release());
    }
}

// Every failure of a page names the lesson file, whether or not it can name a line.
Status buildFails(Status failed) {
    pageOnScreen().pageBuilding = false;
    failed.diagnostic().file = lesson().lessonPath;
    return failed;
}

// ZONE and LABEL items of a display kept from the page before return to how they started.
void resetKeptDisplay(Display* display) {
    for (Item* item = display->items; item; item = item->next) {
        if (!item->isType(ItemType::Zone) && !item->isType(ItemType::Label))
            continue;
        if (item->visibility != item->initialVisibility) {
            item->visibility = item->initialVisibility;
            // The change must be seen, not wait for some later repaint.
            display->needsRepaint = 1;
        }
    }
    repaintDisplay(display);
}

// Deletes every display of the page shown and empties its slots.
// The page being left: its items stop, its answer pause and feedback go.
void leavePage(int n) {
    char status[64];
    formatText(status, "Processing p. %d", n);
    appServices().drawStatusText(status);
    pageOnScreen().pageBuilding = true;
    // A test question judged and left before its pause ended was still answered.
    if (lesson().testLesson && pageOnScreen().currentEntry &&
        (pageOnScreen().rightWaitStart != 0 || pageOnScreen().wrongWaitStart != 0))
        ++pageOnScreen().currentEntry->completedCount;
    pageOnScreen().rightWaitStart = 0;
    pageOnScreen().wrongWaitStart = 0;
    appServices().hideFeedbackPanel();
    for (Display* display : shownDisplays()) {
        for (Item* item = display->items; item; item = item->next)
            item->Input("STOP", 0.0, nullptr);
    }
}

// Page n becomes the current one: its counters start at 0 and the caption names it. A test
// asks each question once: a page come back to keeps its counts, and its answered questions
// stay closed (StartFirstQuestion).
void enterEntry(PageEntry& entry, int n) {
    lesson().turnTo(n);
    if (!lesson().testLesson) {
        entry.completedCount = 0;
        entry.rightCount = 0;
    }
    std::string caption = lesson().lessonTitle;
    caption += " [ Page " + std::to_string(n) + " ]";
    appServices().setCaption(caption);
}

// The displays the new page shares with the one left move to the entry; the others go.
void keepSharedDisplays(PageEntry& entry, int slots) {
    for (int i = 1; i <= slots; ++i) {
        entry.displayObject[i] = nullptr;
        for (Display*& slot : pageOnScreen().displays) {
            Display* kept = slot;
            if (!kept || !equalsIgnoringCase(kept->name, entry.displayName[i]))
                continue;
            kept->reused = 1;
            // Two kept displays of that name: the later one is taken, and the earlier one
            // goes rather than stay on the screen with nobody holding it.
            deleteDisplay(entry.displayObject[i]);
            entry.displayObject[i] = kept;
            slot = nullptr;
        }
    }
    deleteShownDisplays();
    for (int i = slots + 1; i < kDisplaySlots; ++i)
        entry.displayObject[i] = nullptr;
}

// The kept displays go back to their slots; the new ones are read from the lesson file.
Status placeDisplays(PageEntry& entry, int slots) {
    for (int i = 1; i <= slots; ++i) {
        if (entry.displayObject[i]) {
            pageOnScreen().displays[i] = entry.displayObject[i];
            continue;
        }
        auto display = std::make_unique<Display>();
        display->name = entry.displayName[i];
        if (Status read = ReadLsn(display.get(), entry.displayOffset[i]); !read) {
            // The kept displays of the later slots are held only by the page entry yet: put
            // them where the lesson teardown that follows the failure finds them.
            for (int later = i + 1; later <= slots; ++later) {
                if (entry.displayObject[later])
                    pageOnScreen().displays[later] = entry.displayObject[later];
            }
            return read;
        }
        entry.displayObject[i] = display.get();
        pageOnScreen().displays[i] = display.release();
    }
    return {};
}

Status connectAndCheckKeys() {
    ReadingRecovery* recovery = ReadingRecovery::active();
    for (Display* display : shownDisplays()) {
        for (Item* item = display->items; item; item = item->next) {
            if (Status connected = item->Connect(); !connected) {
                if (!recovery)
                    return connected;
                recovery->add(std::move(connected), ReadingRecovery::Stage::Connecting, item);
            }
            if (Status checked = CheckKeys(*item); !checked) {
                if (!recovery)
                    return checked;
                recovery->add(std::move(checked), ReadingRecovery::Stage::Connecting, item);
                // A question whose keys name nothing is not asked.
                item->keyKinds = 0;
            }
        }
    }
    return {};
}

// Every item of the new displays runs its StartupAction; kept displays are reset first.
Status startNewDisplays() {
    for (Display* display : shownDisplays()) {
        if (display->reused)
            continue;
        for (Display* other : shownDisplays()) {
            if (other != display && other->reused)
                resetKeptDisplay(other);
        }
        for (Item* item = display->items; item; item = item->next) {
            if (item->StartupAction())
                continue;
            Status failed = failure("StartupAction failed in Item " + item->title);
            if (ReadingRecovery* recovery = ReadingRecovery::active())
                recovery->add(std::move(failed), ReadingRecovery::Stage::Starting, item);
            else
                return failed;
        }
    }
    return {};
}

} // namespace

Status ReadLsn(Display* display, long position) {
    if (position == kNoBlock)
        return {};
    FileHandle file = openForReading(lesson().lessonPath);
    if (isInvalid(file))
        return Diagnostic{"Can't open Lesson file " + std::string(lesson().lessonPath),
                          lesson().lessonPath, 0};
    if (!seekFile(file, position)) {
        closeFile(file);
        return {}; // nothing can be read there, as at the end of the file
    }
    Status read = readDisplayBlock(display, file);
    closeFile(file); // the ITEM reader may have closed it already: closing again is harmless
    if (!read) {
        read.diagnostic().file = lesson().lessonPath;
        discardDisplayContents(display);
    } else if (display->window) {
        display->window->show();
    }
    return read;
}

Status buildPage(int n) {
    // Never asked for by the controller, which turns no page below the first.
    if (n < 1)
        return Diagnostic{"Page number wrong in Lesson", lesson().lessonPath, 0};
    leavePage(n);
    // Only the entry of the page shown holds displays (the one being left lets go of its own
    // now), so deleting a display need not look through every page of the lesson.
    if (pageOnScreen().currentEntry)
        std::fill(std::begin(pageOnScreen().currentEntry->displayObject),
                  std::end(pageOnScreen().currentEntry->displayObject), nullptr);
    pageOnScreen().currentEntry = markCurrentPage(n);
    PageEntry* entry = pageOnScreen().currentEntry;
    if (!entry)
        return buildFails(failure("Page number wrong in Lesson"));
    enterEntry(*entry, n);
    const int slots = entry->namedSlots();
    keepSharedDisplays(*entry, slots);
    if (Status placed = placeDisplays(*entry, slots); !placed)
        return buildFails(std::move(placed));
    if (Status connected = connectAndCheckKeys(); !connected)
        return buildFails(std::move(connected));
    appServices().focusMainWindow();
    if (Status started = startNewDisplays(); !started)
        return buildFails(std::move(started));
    appServices().drawPageStrip();
    pageOnScreen().pageClosing = false;
    pageOnScreen().pageBuilding = false;
    StartFirstQuestion();
    return {};
}

void lessonTeardown() {
    pageOnScreen().pageClosing = true;
    deleteShownDisplays();
    freePages();
    lesson().pages = nullptr;
    pageOnScreen().currentEntry = nullptr;
    lesson().testLesson = false;
    pageOnScreen().pictures = PictureShelf();
    pageOnScreen().questionAsked = false;
}

void deleteDisplay(Display* display) {
    if (!display)
        return;
    pageOnScreen().answer.forgetDisplay(display);
    // The entry of the page shown remembers the displays built for it (no other entry holds
    // any); it may not keep this one.
    if (pageOnScreen().currentEntry) {
        for (Display*& object : pageOnScreen().currentEntry->displayObject) {
            if (object == display)
                object = nullptr;
        }
    }
    if (display->window)
        display->window->setUserData(nullptr);
    delete display; // its items, pens and window go with it
}

void deleteShownDisplays() {
    for (Display*& slot : pageOnScreen().displays) {
        deleteDisplay(slot);
        slot = nullptr;
    }
}

} // namespace lorvenna

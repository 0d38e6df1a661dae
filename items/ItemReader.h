// The ITEM reader: turns the definition lines of one ITEM block into the item's fields.
#pragma once

#include "platform/Diagnostic.h"
#include "platform/FileSystem.h"

#include <vector>

namespace lorvenna {

struct Display;
class Item;

// Reads the block after the ITEM line. A failure carries the line it stopped on (the file is
// left to the caller to name); the lesson file is then closed. While a ReadingRecovery
// lives, a line that fails is noted there and reading goes on with the next line; only a
// definition the item refuses as a whole fails the block, and the file stays open.
Status readItemBlock(Item* item, const char* title, Display* display, FileHandle& lessonFile);

// Reading that goes on after an error, for the course check and the author's preview: the
// player stops at the first error, these collect every one. While one lives, the ITEM
// reader, the display block reader and the page builder note their failures in it and go
// on: with the next line, the next item, the next connection, the next start-up. Only one
// lives at a time.
class ReadingRecovery {
public:
    enum class Stage { Reading, Connecting, Starting };
    struct Fault {
        Diagnostic diagnostic;
        Stage stage = Stage::Reading;
        const Item* item = nullptr; // the item that failed, while it lives
    };

    ReadingRecovery();
    ~ReadingRecovery();
    ReadingRecovery(const ReadingRecovery&) = delete;
    ReadingRecovery& operator=(const ReadingRecovery&) = delete;

    // The one living now, or nullptr: the player's own reading.
    static ReadingRecovery* active();

    void add(Status failed, Stage stage, const Item* item = nullptr);
    std::vector<Fault> faults;

private:
    ReadingRecovery* outer_;
};

} // namespace lorvenna

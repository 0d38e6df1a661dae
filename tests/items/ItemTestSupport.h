// Helpers of the item tests: a page of displays without windows that draw on recording
// surfaces, items that record what reaches them, and reading an ITEM block from a real file.
#pragma once

#include "items/Connection.h"
#include "items/Display.h"
#include "items/Item.h"
#include "items/ItemReader.h"
#include "items/RunObjects.h"
#include "platform/FileSystem.h"
#include "shell/Session.h"
#include "tests/support/RecordingSurface.h"
#include "tests/support/WorkFolder.h"

#include <memory>
#include <string>
#include <vector>

namespace lorvenna {

// The displays of the page shown, in pageOnScreen().displays; deleted (with their items) at the
// end.
class TestPage {
public:
    TestPage() { resetSession(); }
    ~TestPage() {
        for (Display*& display : pageOnScreen().displays) {
            delete display;
            display = nullptr;
        }
    }
    TestPage(const TestPage&) = delete;
    TestPage& operator=(const TestPage&) = delete;

    Display& display(int slot) {
        Display*& display = pageOnScreen().displays[slot];
        if (!display) {
            display = new Display();
            display->surface = &surfaces[slot];
            display->windowSurface = &surfaces[slot];
        }
        return *display;
    }

    // Takes item into the display's list (at its end) and returns it.
    template <typename T = Item>
    T& add(int slot, const std::string& title, std::unique_ptr<T> item = std::make_unique<T>()) {
        Display& d = display(slot);
        T& added = *item;
        added.title = title;
        added.display = &d;
        added.surface = d.surface;
        d.appendItem(item.release());
        return added;
    }

    // Deletes the display in slot with its items, as a page change does.
    void remove(int slot) {
        delete pageOnScreen().displays[slot];
        pageOnScreen().displays[slot] = nullptr;
    }

    RecordingSurface surfaces[kDisplaySlots];
};

// An item that records every input it receives.
class Receiver : public Item {
public:
    struct Received {
        std::string name;
        double value;
        Pose motion;
        bool hadMotion;
    };
    void Input(const char* name, double value, const Pose* motion) override {
        received.push_back({name, value, motion ? *motion : Pose{}, motion != nullptr});
        log.push_back(title);
    }
    std::vector<Received> received;
    static inline std::vector<std::string> log; // titles of receivers, in delivery order
};

// An item that passes whatever it receives on along its own outputs.
class Relay : public Receiver {
public:
    void Input(const char* name, double value, const Pose* motion) override {
        Receiver::Input(name, value, motion);
        SendOutputs(*this, value, false);
    }
};

// An item type with commands of its own: it takes every line offered to it, except the ones
// holding "BAD", and counts EndDefinition.
class CommandTaker : public Item {
public:
    Status ReadCommand(const char* line) override {
        commands.emplace_back(line);
        if (std::string(line).find("BAD") == std::string::npos)
            return {};
        return unknownLine();
    }
    bool EndDefinition() override {
        ++endDefinitions;
        return false;
    }
    std::vector<std::string> commands;
    int endDefinitions = 0;
};

inline Connection* connection(Connection* list, int index) {
    for (; list && index > 0; --index)
        list = list->next;
    return list;
}

inline int countConnections(const Connection* list) {
    int n = 0;
    for (; list; list = list->next)
        ++n;
    return n;
}

// Writes block (LF line ends, stored as CR LF) to a lesson file, opens it and reads it as the
// block of an ITEM line. After the read, file is what the reader left: open at the line after
// the block on success, closed on failure.
class BlockFile {
public:
    explicit BlockFile(std::string_view block) {
        folder.write("LSNS/01-01.LSN", block);
        file = openForReading("LSNS\\01-01.LSN");
    }
    ~BlockFile() { closeFile(file); }
    BlockFile(const BlockFile&) = delete;
    BlockFile& operator=(const BlockFile&) = delete;

    Status read(Item& item, const char* title = "Item1", Display* display = nullptr) {
        return readItemBlock(&item, title, display, file);
    }

    WorkFolder folder;
    FileHandle file;
};

} // namespace lorvenna

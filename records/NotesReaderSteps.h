// The notes reader's steps: finding the key disk, listing its notes, showing one, printing
// them all. It knows nothing of widgets; the dialog shows it through NotesReaderView.
#pragma once

#include "items/Codes.h"
#include "records/Student.h"

#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

class NotesReaderView {
public:
    virtual ~NotesReaderView() = default;

    virtual void setStatus(std::string_view text) = 0;
    // Shows the list with these names, selects the first and gives the list the focus.
    virtual void showNotes(const std::vector<std::string>& names) = 0;
    // Shows a note's text in the help viewer; the focus goes back to the list afterwards.
    virtual void showNote(std::string_view text) = 0;
    virtual void endDialog(StateCode result) = 0;
};

class NotesReaderSteps {
public:
    NotesReaderSteps(NotesReaderView& view, Student& student) : view_(view), student_(student) {}

    // Once the dialog is up.
    void start();
    // A double-click on a line of the list.
    void readNote(int row);
    void printAll();
    void quit();

    const std::vector<std::string>& names() const { return names_; }
    bool ended() const { return ended_; }

private:
    void end();

    NotesReaderView& view_;
    Student& student_;
    std::vector<std::string> names_;
    bool ended_ = false;
};

} // namespace lorvenna

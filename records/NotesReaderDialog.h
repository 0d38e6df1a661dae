// The notes reader's window: the status in its frame, "Quit", "Print All" and the list of
// notes, hidden until notes are found.
#pragma once

#include "records/NotesReaderSteps.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace lorvenna {

class NotesReaderDialog : public QDialog, private NotesReaderView {
public:
    static constexpr int kListId = 230;
    static constexpr int kPrintAllId = 231;
    static constexpr int kStatusId = 233;
    static constexpr int kQuitId = 2;

    explicit NotesReaderDialog(Student& student, QWidget* parent = nullptr);

    StateCode run();
    NotesReaderSteps& steps() { return steps_; }

protected:
    void reject() override;

private:
    // NotesReaderView
    void setStatus(std::string_view text) override;
    void showNotes(const std::vector<std::string>& names) override;
    void showNote(std::string_view text) override;
    void endDialog(StateCode result) override;

    NotesReaderSteps steps_;
    QLabel* status_ = nullptr;
    QListWidget* list_ = nullptr;
};

} // namespace lorvenna

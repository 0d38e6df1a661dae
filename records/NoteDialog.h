// The note dialog: a box for a short note about the page shown, saved on "Done", on Enter,
// or as soon as the box is full.
#pragma once

#include "records/NoteFile.h"

#include <QDialog>

class QPlainTextEdit;

namespace lorvenna {

class NoteDialog : public QDialog {
public:
    static constexpr int kTextId = 250;
    static constexpr int kDoneId = 1;
    static constexpr int kCancelId = 2;
    // The box takes this many characters; the note keeps one fewer.
    static constexpr int kBoxLimit = 2040;

    explicit NoteDialog(const Student& student, QWidget* parent = nullptr);

    // Runs the dialog; the note's file name is in savedName() afterwards.
    NoteSaved run();
    const std::string& savedName() const { return savedName_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    const Student& student_;
    void save(bool boxFull);
    void textChanged();
    bool boxFull() const;

    QPlainTextEdit* text_ = nullptr;
    NoteSaved result_ = NoteSaved::Cancelled;
    std::string savedName_;
    bool saving_ = false;
    bool fullRefused_ = false; // the full box's save failed
};

} // namespace lorvenna

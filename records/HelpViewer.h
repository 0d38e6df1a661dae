// The help viewer: a read-only text under a "Done" button.
#pragma once

#include "records/Help.h"

#include <QDialog>
#include <QPointer>

#include <string_view>

class QPlainTextEdit;

namespace lorvenna {

// When it closes, the control that had the keyboard when it opened (the list of the notes
// reader, the button of a dialog, the main window during a lesson) has it again.
class HelpViewer : public QDialog {
public:
    static constexpr int kDoneId = 2;
    static constexpr int kTextId = 260;
    // The viewer's one result, whether it closes on "Done" or Escape.
    static constexpr int kShown = 1;

    // The title names the window in window lists and to screen readers.
    HelpViewer(std::string_view text, QWidget* parent = nullptr,
               std::string_view title = kHelpTitle);

    QString text() const;

protected:
    void done(int result) override;

private:
    QPlainTextEdit* text_ = nullptr;
    QPointer<QWidget> returnTo_;
};

} // namespace lorvenna

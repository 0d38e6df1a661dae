// The main window as assistive technology reads it: its buttons, then the displays of the
// page in page order, then the feedback panel and the announcements.
#pragma once

#include <QString>
#include <QWidget>

#include <string_view>

namespace lorvenna {

// Once for the run, before the main window is asked for its interface.
void installMainWindowAccessibility();

// Where announcements are made: an alert that is shown anew with each one. Nothing of it is
// seen; what is said in one pass of the event loop is said together, one part a line.
class Announcer final : public QWidget {
public:
    explicit Announcer(QWidget* parent);
    void say(std::string_view text);
    // The words said last.
    QString said() const { return accessibleName(); }

private:
    void sayNow();

    QString pending_;
    bool queued_ = false;
};

} // namespace lorvenna

// The "Selecting lesson." dialog: shows a LessonList and turns the student's commands into
// the controller's next state.
#pragma once

#include "items/Codes.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace lorvenna {

class LessonList;
class Lesson;

// Control ids of the dialog; the widgets carry them in the "controlId" property.
inline constexpr int kLessonStartId = 1;
inline constexpr int kLessonQuitId = 2;
inline constexpr int kLessonListId = 241;
inline constexpr int kLessonBookmarkId = 243;
inline constexpr int kLessonGradesId = 244;

// exec() returns 9 (start), 10 (start from the bookmark), 5 (grade review) or -4 (quit).
class LessonSelectDialog : public QDialog {
public:
    LessonSelectDialog(const LessonList& lessons, Lesson& lesson, QWidget* parent = nullptr);

    // Shows the dialog modally over the active window and returns its result.
    static StateCode run(const LessonList& lessons, Lesson& lesson);

    // Escape and closing the window quit, as "&Quit entirely" does.
    void reject() override;

private:
    void runCommand(int id);
    void finish(StateCode next);
    int selectedRow() const;

    const LessonList& lessons_;
    Lesson& lesson_;
    QListWidget* list_ = nullptr;
    QPushButton* bookmark_ = nullptr;
};

} // namespace lorvenna

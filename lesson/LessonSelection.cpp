// Lesson selection: lists the lessons of LSNS by their title lines and returns the next state.
#include "lesson/LessonSelection.h"

#include "lesson/LessonList.h"
#include "lesson/LessonSelectDialog.h"
#include "shell/SessionState.h"

namespace lorvenna {

StateCode runLessonSelection() {
    SessionState& state = session();
    LessonList lessons;
    lessons.build(state);
    if (lessons.empty())
        return StateCode::BadLesson;
    return LessonSelectDialog::run(lessons, state);
}

} // namespace lorvenna

// Lesson selection: lists the lessons of LSNS by their title lines and returns the next state.
#include "lesson/LessonSelection.h"

#include "items/RunObjects.h"
#include "lesson/LessonList.h"
#include "lesson/LessonSelectDialog.h"

namespace lorvenna {

StateCode runLessonSelection(char bookmarkDrive) {
    LessonList lessons;
    lessons.build(lesson(), bookmarkDrive);
    if (lessons.empty())
        return StateCode::BadLesson;
    return LessonSelectDialog::run(lessons, lesson());
}

} // namespace lorvenna

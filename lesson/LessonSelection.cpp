// Lesson selection. Stand-in until it is built.
#include "lesson/LessonSelection.h"

int RunLessonSelection() { return -4; }

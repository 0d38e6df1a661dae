// Grade review. Stand-in: the review dialog with export and printing comes with the grade
// review work; until then it shows nothing and goes on to lesson selection .
#include "records/GradeReview.h"

namespace lorvenna {

StateCode runGradeReview() {
    return StateCode::LessonSelection;
}

} // namespace lorvenna

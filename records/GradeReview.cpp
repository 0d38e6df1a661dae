// The grade review, run modally over the main window.
#include "records/GradeReview.h"

#include "items/AppServices.h"
#include "items/RunObjects.h"
#include "records/GradeReviewDialog.h"

#include <QWidget>

namespace lorvenna {

StateCode runGradeReview(Student& student) {
    GradeReviewDialog dialog(student, dialogOwner());
    return dialog.run();
}

} // namespace lorvenna

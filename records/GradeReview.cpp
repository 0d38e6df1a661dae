// The grade review, run modally over the main window.
#include "records/GradeReview.h"

#include "records/GradeReviewDialog.h"
#include "shell/AppServices.h"
#include "shell/SessionState.h"

#include <QWidget>

namespace lorvenna {

StateCode runGradeReview() {
    GradeReviewDialog dialog(dialogOwner());
    return dialog.run();
}

} // namespace lorvenna

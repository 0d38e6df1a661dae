// The start dialog, run modally over the main window.
#include "records/StartDialog.h"

#include "items/AppServices.h"
#include "items/RunObjects.h"
#include "records/StartDialogView.h"

#include <QWidget>

namespace lorvenna {

StateCode runStartDialog(Student& student) {
    // The main window, when it is a window, owns the dialog.
    auto* owner = dialogOwner();
    StartDialogView dialog(student, owner);
    return dialog.run();
}

} // namespace lorvenna

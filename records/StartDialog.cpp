// The start dialog, run modally over the main window.
#include "records/StartDialog.h"

#include "records/StartDialogView.h"
#include "shell/AppServices.h"
#include "shell/SessionState.h"

#include <QWidget>

namespace lorvenna {

StateCode runStartDialog() {
    // The main window, when it is a window, owns the dialog.
    auto* owner = dialogOwner();
    StartDialogView dialog(owner);
    return dialog.run();
}

} // namespace lorvenna

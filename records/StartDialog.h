// The start dialog: ungraded start, key disk registration and login, grade review, quit.
#pragma once

namespace lorvenna {

// Returns 7, 5, 6, 0, -4 or -16 for the controller.
int RunStartDialog();

} // namespace lorvenna

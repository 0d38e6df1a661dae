// The start dialog: ungraded start, key disk registration and login, grade review, quit.
#pragma once

// Returns 7, 5, 6, 0, -4 or -16 for the controller.
int RunStartDialog();

// The start dialog. Stand-in until it is built: an ungraded session.
#include "records/StartDialog.h"

int RunStartDialog() { return 7; }

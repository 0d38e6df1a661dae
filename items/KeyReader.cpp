// KEY lines. Stand-in until the item reader is built.
#include "items/AnswerKeys.h"

bool ReadKeyCommand(Item&, const char*) { return false; }

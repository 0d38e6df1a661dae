// Help texts shown for a topic number.
#pragma once

#include "shell/Codes.h"

namespace lorvenna {

int showHelp(HelpTopic topic);

} // namespace lorvenna

// Help texts shown for a topic number.
#pragma once

namespace lorvenna {

int ShowHelp(int topic);

} // namespace lorvenna

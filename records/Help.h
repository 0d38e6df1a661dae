// Help texts shown for a topic number.
#pragma once

int ShowHelp(int topic);

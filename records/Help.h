// Help texts: the file of each help topic, shown in the help viewer.
#pragma once

#include "shell/Codes.h"

#include <string_view>

namespace lorvenna {

// The most of a help or note file that is shown.
inline constexpr long kShownTextBytes = 2040;

// The file of a topic, for the lesson topics by the page shown and the kind of session;
// nullptr for a topic without a file.
const char* helpFileName(HelpTopic topic);

// Reads at most 2040 bytes of a file into session().bigText, ended by a zero byte; false
// (and an empty text) when the file does not open.
bool readShownText(std::string_view name);

// Shows the topic's file in the help viewer. Returns the viewer's result (1), or 0 when the
// topic has no file or the file does not open.
int showHelp(HelpTopic topic);

// The help viewer with a text, modal over the main window; returns 1. The focus goes back
// to session().currentDialog when it closes.
int showText(std::string_view text);

} // namespace lorvenna

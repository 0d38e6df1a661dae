// Help texts: the file of each help topic, shown in the help viewer.
#pragma once

#include "items/Codes.h"

#include <optional>
#include <string>
#include <string_view>

namespace lorvenna {

// The most of a help or note file that is shown.
inline constexpr long kShownTextBytes = 2040;

// The file of a topic, for the lesson topics by the page shown and whether the student plays with
// grades; nullptr for a topic without a file.
const char* helpFileName(HelpTopic topic, bool graded);

// At most 2040 bytes of a file, up to the first zero byte; nothing when the file does not
// open.
std::optional<std::string> readShownText(std::string_view name);

// Shows the topic's file in the help viewer. Returns the viewer's result (1), or 0 when the
// topic has no file or the file does not open. graded: as for helpFileName.
int showHelp(HelpTopic topic, bool graded = false);

// The titles of the help viewer, for a help text and for a note the student wrote.
inline constexpr std::string_view kHelpTitle = "Lorvenna: Help";
inline constexpr std::string_view kNoteTitle = "Lorvenna: Note";

// The help viewer with a text, modal over the main window; returns 1. The control that had
// the keyboard has it again when the viewer closes.
int showText(std::string_view text, std::string_view title = kHelpTitle);

} // namespace lorvenna

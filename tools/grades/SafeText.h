// Texts from key disks made safe for where they go: spreadsheet cells, terminals and web
// pages. Student IDs and the names in grade records are anybody's making.
#pragma once

#include <string>
#include <string_view>

namespace lorvenna {

// One CSV field: a text a spreadsheet would take for a formula (beginning with '=', '+',
// '-', '@', a tab or a CR) gets a "'" in front, and a field holding a comma, a quotation
// mark or a line break is quoted, its quotation marks doubled.
std::string csvCell(std::string_view text);

// A text for a terminal line: printable ASCII as it is, a backslash doubled, every other
// byte as \xNN, so no escape code, line break or half character reaches the terminal.
std::string shownText(std::string_view text);

// A text for a web page: valid UTF-8 is kept, any other text is taken as Windows-1252 (the
// code page of older course files and sticks), as the player reads them; control characters
// become U+FFFD, and the characters HTML gives a meaning are written as references.
std::string htmlText(std::string_view text);

} // namespace lorvenna

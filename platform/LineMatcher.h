// Matching one line of text against a pattern such as " LOC %lf %lf": lesson, bookmark and
// index lines and lesson file names.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace lorvenna {

// Walks a terminated line from its start. Every step skips white space first (none is
// required), so "FILEX" matches the keyword FILE followed by the word X, as a scanf pattern
// with a leading blank would. A step that fails leaves the position where it was; the
// caller stops at the first failure and counts the values read, as scanf's result does.
class LineMatcher {
public:
    explicit LineMatcher(const char* line) : at_(line) {}

    // The keyword exactly as written (case-sensitive) after optional white space.
    bool keyword(std::string_view word);
    // The character c right at the current position, with no white space skipped (the "-"
    // of a "%ld-%ld" pattern).
    bool exactly(char c);
    // A decimal floating-point number as strtod reads it in the C locale, with a decimal
    // point whatever the user's locale says.
    bool number(double& value);
    // A whole number as strtol reads it (base 10); values beyond long's range take its ends.
    bool whole(long& value);
    // A run of non-blank bytes (at least one).
    bool word(std::string& value);
    // The same word as a view into the line.
    bool word(std::string_view& value);

    // The rest of the line from the current position.
    const char* rest() const { return at_; }

private:
    void skipBlanks();

    const char* at_;
};

// True for the bytes scanf treats as white space.
inline bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Whether a keyword stands anywhere in a line or command, as most lesson keywords are found
// ("RESTART" holds "START"); a missing text holds nothing.
inline bool containsText(const char* text, const char* part) {
    return text && std::strstr(text, part) != nullptr;
}

} // namespace lorvenna

// Matching one line of a lesson file against a command pattern.
#include "platform/LineMatcher.h"

#include <cstdlib>

#include <locale.h>
#include <stdlib.h>

namespace lorvenna {

namespace {

// Lesson files write their numbers with a decimal point whatever language the desktop speaks.
// The toolkit puts the user's locale in force at start-up, and under many of them strtod
// stops at the point ("2.5" would read 2), so numbers are read in the plain C conventions.
locale_t plainNumbers() {
    static const locale_t plain = newlocale(LC_NUMERIC_MASK, "C", locale_t{});
    return plain;
}

} // namespace

void LineMatcher::skipBlanks() {
    while (isBlank(*at_))
        ++at_;
}

bool LineMatcher::keyword(std::string_view word) {
    const char* start = at_;
    skipBlanks();
    // As strncmp: the line's terminator differs from every letter of a keyword.
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (at_[i] != word[i]) {
            at_ = start;
            return false;
        }
    }
    at_ += word.size();
    return true;
}

bool LineMatcher::exactly(char c) {
    if (*at_ != c || c == '\0')
        return false;
    ++at_;
    return true;
}

bool LineMatcher::number(double& value) {
    skipBlanks();
    char* end = nullptr;
    const locale_t plain = plainNumbers();
    const double read = plain ? strtod_l(at_, &end, plain) : std::strtod(at_, &end);
    if (end == at_)
        return false;
    value = read;
    at_ = end;
    return true;
}

bool LineMatcher::whole(long& value) {
    skipBlanks();
    // Most numbers are a few plain digits, which strtol would read the same way.
    constexpr int kPlainDigits = 18;
    if (*at_ >= '0' && *at_ <= '9') {
        long read = 0;
        int digits = 0;
        while (digits < kPlainDigits && at_[digits] >= '0' && at_[digits] <= '9')
            read = read * 10 + (at_[digits++] - '0');
        if (digits < kPlainDigits) {
            value = read;
            at_ += digits;
            return true;
        }
    }
    char* end = nullptr;
    const long read = std::strtol(at_, &end, 10);
    if (end == at_)
        return false;
    value = read;
    at_ = end;
    return true;
}

bool LineMatcher::word(std::string& value) {
    std::string_view view;
    if (!word(view))
        return false;
    value.assign(view);
    return true;
}

bool LineMatcher::word(std::string_view& value) {
    skipBlanks();
    const char* end = at_;
    while (*end != '\0' && !isBlank(*end))
        ++end;
    if (end == at_)
        return false;
    value = std::string_view(at_, static_cast<std::size_t>(end - at_));
    at_ = end;
    return true;
}

} // namespace lorvenna

// Matching one line of a lesson file against a command pattern.
#include "platform/LineMatcher.h"

#include <cstdlib>
#include <cstring>

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

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void LineMatcher::skipBlanks() {
    while (isBlank(*at_))
        ++at_;
}

bool LineMatcher::keyword(std::string_view word) {
    const char* start = at_;
    skipBlanks();
    if (std::strncmp(at_, word.data(), word.size()) != 0) {
        at_ = start;
        return false;
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
    char* end = nullptr;
    const long read = std::strtol(at_, &end, 10);
    if (end == at_)
        return false;
    value = read;
    at_ = end;
    return true;
}

bool LineMatcher::word(std::string& value) {
    skipBlanks();
    const char* end = at_;
    while (*end != '\0' && !isBlank(*end))
        ++end;
    if (end == at_)
        return false;
    value.assign(at_, end);
    at_ = end;
    return true;
}

} // namespace lorvenna

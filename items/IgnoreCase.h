// Comparing titles, names and keywords without regard to case, byte by byte: only the
// letters A to Z fold, as the C library's case-blind comparison does in the plain locale.
#pragma once

#include <string_view>

inline char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    }
    return true;
}

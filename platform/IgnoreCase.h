// Comparing titles, names, keywords and file names without regard to case, byte by byte:
// only the letters A to Z fold, whatever language the desktop runs in.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace lorvenna {

inline char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string foldedCopy(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        c = foldCase(c);
    return folded;
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

// Order without regard to case; texts that differ only in case are equal here.
inline bool lessFolded(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(foldCase(x)) < static_cast<unsigned char>(foldCase(y));
    });
}

// Order without regard to case, ties broken by byte order so that the order is total.
inline bool lessIgnoringCase(std::string_view a, std::string_view b) {
    if (lessFolded(a, b))
        return true;
    if (lessFolded(b, a))
        return false;
    return a < b;
}

} // namespace lorvenna

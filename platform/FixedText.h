// Fixed-width text fields: every write is cut to the field and always terminated, so a long
// name or message can never spill into the next field.
#pragma once

#include "platform/TextCodec.h"
#include <cstdarg>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace lorvenna {

// A text cut to its field keeps no half of a UTF-8 character.
template <std::size_t N> void setText(char (&field)[N], std::string_view text) {
    const std::size_t n = text.size() < N - 1 ? text.size() : utf8CutLength(text, N - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

template <std::size_t N> void appendText(char (&field)[N], std::string_view text) {
    const std::size_t used = strnlen(field, N - 1);
    const std::size_t room = N - 1 - used;
    const std::size_t n = text.size() < room ? text.size() : utf8CutLength(text, room);
    std::memcpy(field + used, text.data(), n);
    field[used + n] = '\0';
}

// The text of a field, up to its terminator or its end.
template <std::size_t N> std::string_view fieldView(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}

inline void formatInto(char* field, std::size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
inline void formatInto(char* field, std::size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(field, size, format, args);
    va_end(args);
}

// printf-style formatting cut to the field.
#define formatText(field, ...) formatInto((field), sizeof(field), __VA_ARGS__)

} // namespace lorvenna

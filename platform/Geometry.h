// Plain geometry and colour values shared by the drawing layer and the items.
#pragma once

#include <cstdint>

namespace lorvenna {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A rectangle with exclusive right and bottom edges, as the lesson geometry uses them.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // Left and top edges inside, right and bottom edges outside.
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Color&) const = default;
};

// A solid pen. Pens live in a display's pen cache; shapes only borrow them.
struct Pen {
    int width = 1;
    Color color;
    bool squareCaps = false;
    bool operator==(const Pen&) const = default;
};

} // namespace lorvenna

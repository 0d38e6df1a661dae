// A picture held in memory: one of the program's own resources or a picture file of a lesson.
#pragma once

#include "platform/Geometry.h"

#include <memory>
#include <string>
#include <string_view>

class QImage;

namespace lorvenna {

// The program's own pictures, by their resource numbers.
enum class PictureId : int {
    RightMark = 301,
    WrongMark = 302,
    SpotMark = 303, // where a right answer was, shown after a wrong one
    // The page strip's markers in three sizes: a page reached, and one still ahead.
    SmallPageReached = 304,
    SmallPageAhead = 305,
    MediumPageReached = 306,
    MediumPageAhead = 307,
    LargePageReached = 308,
    LargePageAhead = 309,
    Start = 310, // the start dialog's picture
};

class Picture {
public:
    Picture();
    explicit Picture(const QImage& image);
    ~Picture();
    Picture(const Picture&);
    Picture& operator=(const Picture&);

    // One of the program's own pictures; an unknown number gives an empty picture.
    static Picture resource(PictureId id);

    bool isNull() const;
    int width() const;
    int height() const;
    Color pixel(int x, int y) const;
    // No other Picture shares this one's pixels (copies share them until one is changed).
    bool onlyHolder() const;
    const QImage& image() const;

private:
    std::unique_ptr<QImage> image_;
};

} // namespace lorvenna

// A picture held in memory: one of the program's own resources or a picture file of a lesson.
#pragma once

#include "platform/Geometry.h"

#include <memory>
#include <string>
#include <string_view>

class QImage;

namespace lorvenna {

class Picture {
public:
    Picture();
    explicit Picture(const QImage& image);
    ~Picture();
    Picture(const Picture&);
    Picture& operator=(const Picture&);

    // The program's own pictures by resource number: 301 to 303 the answer marks, 304 to 309
    // the page markers, 310 the start picture. An unknown number gives an empty picture.
    static Picture resource(int number);

    bool isNull() const;
    int width() const;
    int height() const;
    Color pixel(int x, int y) const;
    const QImage& image() const;

private:
    std::unique_ptr<QImage> image_;
};

} // namespace lorvenna

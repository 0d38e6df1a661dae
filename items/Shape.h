// The shapes of an item's outline: line segments, circles and invisible moves, drawn one
// after the other from the item's location like a moving pen.
#pragma once

#include "items/Pose.h"
#include "platform/Geometry.h"

#include <cstdint>

namespace lorvenna {

class Item;
class Surface;
enum class Visibility : std::int32_t;

class Shape {
public:
    Shape() = default;
    virtual ~Shape() = default;

    void Init(double angle, double length, Item* owner, std::int32_t width, std::int32_t color);
    void SetWidth(std::int32_t width);
    void Restart();
    Point EndPoint(Point start);

    virtual void SetColor(std::int32_t index);
    virtual void AcquirePens();
    // Draws the segment from start as its owner's visibility says (hidden moves only, shown
    // and inverted take the normal pen, highlighted the highlight pen) and returns its end
    // point.
    virtual Point DrawSegment(Visibility mode, Point start);

    Shape* next = nullptr;     // owned through the chain by the item
    Shape* previous = nullptr; // not owned
    Item* owner = nullptr;
    Surface* surface = nullptr;
    std::int32_t penWidth = 0;
    std::int32_t colorIndex = 0;
    Pose initialPose;
    Pose pose;
    const Pen* normalPen = nullptr;    // owned by the display's pen cache
    const Pen* highlightPen = nullptr; // owned by the display's pen cache
};

class ShapeLine : public Shape {
public:
    void SetColor(std::int32_t index) override;
    void AcquirePens() override;
    Point DrawSegment(Visibility mode, Point start) override;
};

class ShapeCircle : public Shape {
public:
    void SetColor(std::int32_t index) override;
    void AcquirePens() override;
    Point DrawSegment(Visibility mode, Point start) override;
};

class ShapeInvisible : public Shape {
public:
    Point DrawSegment(Visibility mode, Point start) override;
};

} // namespace lorvenna

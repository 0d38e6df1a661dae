// Hit regions: polygons filled by the odd-even rule, and rectangles.
#pragma once

#include "platform/Geometry.h"

#include <memory>
#include <vector>

class QRegion;

namespace lorvenna {

class Region {
public:
    enum class Kind { Empty, Simple, Complex };

    Region();
    ~Region();
    Region(const Region&);
    Region& operator=(const Region&);

    static Region polygon(const std::vector<Point>& points);
    static Region rectangle(const Rect& rect);

    Kind kind() const;
    // The smallest rectangle holding the region; an empty rectangle for an empty region.
    Rect boundingBox() const;
    bool contains(int x, int y) const;
    const QRegion& qregion() const;

private:
    std::unique_ptr<QRegion> region_;
};

} // namespace lorvenna

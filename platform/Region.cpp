// Hit regions over QRegion: odd-even polygons and rectangles.
#include "platform/Region.h"

#include <QPolygon>
#include <QRegion>

#include <algorithm>

namespace lorvenna {

Region::Region() : region_(std::make_unique<QRegion>()) {}

Region::~Region() = default;

Region::Region(const Region& other) : region_(std::make_unique<QRegion>(*other.region_)) {}

Region& Region::operator=(const Region& other) {
    if (this != &other)
        *region_ = *other.region_;
    return *this;
}

namespace {

// Qt refuses (and leaks on) polygons taller than this; no outline on a screen comes near it.
constexpr int kTallestPolygon = 100000;

} // namespace

Region Region::polygon(const std::vector<Point>& points) {
    Region result;
    // Fewer than three corners enclose nothing.
    if (points.size() < 3)
        return result;
    const auto [lowest, highest] = std::minmax_element(
        points.begin(), points.end(), [](const Point& a, const Point& b) { return a.y < b.y; });
    if (static_cast<long long>(highest->y) - lowest->y > kTallestPolygon)
        return result;
    QPolygon corners;
    corners.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& p : points)
        corners << QPoint(p.x, p.y);
    *result.region_ = QRegion(corners, Qt::OddEvenFill);
    return result;
}

Region Region::rectangle(const Rect& rect) {
    Region result;
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return result;
    *result.region_ = QRegion(rect.left, rect.top, rect.width(), rect.height());
    return result;
}

Region::Kind Region::kind() const {
    if (region_->isEmpty())
        return Kind::Empty;
    return region_->rectCount() == 1 ? Kind::Simple : Kind::Complex;
}

Rect Region::boundingBox() const {
    if (region_->isEmpty())
        return Rect{};
    const QRect box = region_->boundingRect();
    return Rect{box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
}

bool Region::contains(int x, int y) const {
    return region_->contains(QPoint(x, y));
}

const QRegion& Region::qregion() const {
    return *region_;
}

} // namespace lorvenna

// The base behaviour of every page item, the control id counter, the outline point list,
// the registry of live items and the hit test of a display's items.
#include "items/Item.h"

#include "items/Connection.h"
#include "items/RunObjects.h"
#include "items/Shape.h"
#include "platform/Surface.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace lorvenna {

namespace {

// Items alive now, each with its serial number. Never destroyed, so items deleted during
// program exit still find it.
std::unordered_map<const Item*, std::uint64_t>& liveItems() {
    static auto* items = new std::unordered_map<const Item*, std::uint64_t>();
    return *items;
}
std::uint64_t g_lastSerial = 0;

std::vector<Point>& outlinePoints() {
    static auto* points = new std::vector<Point>();
    return *points;
}

// An item without SIZE and without text gets a box of this size.
constexpr int kDefaultWidth = 42;
constexpr int kDefaultHeight = 24;
// Margins around a measured text, and around an outline.
constexpr int kTextMarginX = 10;
constexpr int kTextMarginY = 5;
constexpr int kSizeRightInset = 10;
constexpr int kOutlineMargin = 10;
constexpr int kLineBoxMargin = 20;

// Hit-test results at or above this rank never win.
constexpr std::uint32_t kHitRankLimit = 1000000;

std::int32_t areaOf(std::int32_t width, std::int32_t height) {
    const std::int64_t area = static_cast<std::int64_t>(width) * height;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        area, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

int truncateToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

int truncateCoordinate(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -double(kCoordinateLimit), double(kCoordinateLimit)));
}

std::int16_t nextControlId() {
    std::int16_t& counter = pageOnScreen().nextControlId;
    const std::int16_t id = counter;
    counter = static_cast<std::int16_t>(static_cast<std::uint16_t>(id) + 1u);
    return id;
}

void OutlinePoints::startAt(Point first) {
    auto& points = outlinePoints();
    points.clear();
    points.reserve(kMaxOutlinePoints);
    points.push_back(first);
}

void OutlinePoints::clear() {
    outlinePoints().clear();
}

void OutlinePoints::add(Point p) {
    auto& points = outlinePoints();
    if (points.size() < static_cast<std::size_t>(kMaxOutlinePoints))
        points.push_back(p);
}

const std::vector<Point>& OutlinePoints::points() {
    return outlinePoints();
}

bool isLiveItem(const Item* item) {
    return item && liveItems().count(item) != 0;
}

std::uint64_t liveItemSerial(const Item* item) {
    if (!item)
        return 0;
    const auto found = liveItems().find(item);
    return found == liveItems().end() ? 0 : found->second;
}

Item* hitTestItems(Item* list, int x, int y) {
    Item* hit = nullptr;
    std::uint32_t best = kHitRankLimit;
    for (Item* item = list; item; item = item->next) {
        const auto rank = static_cast<std::uint32_t>(item->HitTest(x, y));
        // Strictly smaller: on equal ranks the earlier item keeps the click.
        if (rank != 0 && rank < best) {
            best = rank;
            hit = item;
        }
    }
    return hit;
}

Item::Item() : controlId(nextControlId()) {
    liveItems()[this] = ++g_lastSerial;
}

Item::~Item() {
    text.clear();
    deleteConnections(outputs);
    deleteConnections(endOutputs);
    deleteConnections(operators);
    Shape* shape = shapes;
    while (shape) {
        Shape* following = shape->next;
        delete shape;
        shape = following;
    }
    shapes = nullptr;
    lastShape_ = nullptr;
    anchorShape = nullptr;
    region.reset();
    title.clear();

    // The answer flow must not keep pointing at an item that is gone.
    pageOnScreen().answer.forgetItem(this);
    liveItems().erase(this);
}

bool Item::StartupAction() {
    if (shapes)
        PrepareShapes();
    if (isCurrentQuestion)
        Click(display, 0, 0, 0);
    return true;
}

Shape* Item::AddShape(double angle, double length, const char* kind) {
    Shape* shape = nullptr;
    switch (kind ? kind[0] : '\0') {
    case 'L':
        shape = new ShapeLine();
        break;
    case 'M':
        shape = new ShapeInvisible();
        break;
    case 'C':
        shape = new ShapeCircle();
        break;
    default:
        // Any other kind letter makes no shape: the reader then has no current shape.
        return nullptr;
    }
    shape->Init(angle, length, this, lineWidth, lineColor);
    if (!shapes) {
        shapes = lastShape_ = shape;
        return shape;
    }
    // On from the shape added last: anything linked on since is still passed over.
    Shape* last = lastShape_ ? lastShape_ : shapes;
    while (last->next)
        last = last->next;
    last->next = shape;
    shape->previous = last;
    lastShape_ = shape;
    return shape;
}

void Item::PrepareShapes() {
    OutlinePoints::startAt({truncateCoordinate(pose.x), truncateCoordinate(pose.y)});
    for (Shape* shape = shapes; shape; shape = shape->next)
        shape->AcquirePens();
}

void Item::DrawShapes() {
    const double previousX = endX;
    const double previousY = endY;
    if (!shapes) {
        endX = pose.x;
        endY = pose.y;
        return;
    }
    Point p{truncateCoordinate(pose.x), truncateCoordinate(pose.y)};
    OutlinePoints::startAt(p);
    if (surface)
        surface->moveTo(p.x, p.y);
    for (Shape* shape = shapes; shape; shape = shape->next)
        p = shape->DrawSegment(visibility, p);
    endX = p.x;
    endY = p.y;
    motion.x = endX - previousX;
    motion.y = endY - previousY;
    MakePolygonRegion();
}

void Item::MakePolygonRegion() {
    if (!shapes)
        return;
    if (!region)
        region = std::make_unique<Region>(Region::polygon(OutlinePoints::points()));
    if (region->kind() == Region::Kind::Empty) {
        // Points on one straight line enclose nothing: the box of location and end point.
        bounds.left = truncateCoordinate(std::min(pose.x, endX) - kLineBoxMargin);
        bounds.right = truncateCoordinate(std::max(pose.x, endX) + kLineBoxMargin);
        bounds.top = truncateCoordinate(std::min(pose.y, endY) - kLineBoxMargin);
        bounds.bottom = truncateCoordinate(std::max(pose.y, endY) + kLineBoxMargin);
    } else {
        bounds = region->boundingBox();
        bounds.left -= kOutlineMargin;
        bounds.top -= kOutlineMargin;
        bounds.right += kOutlineMargin;
        bounds.bottom += kOutlineMargin;
    }
    width = bounds.right - bounds.left;
    height = bounds.bottom - bounds.top;
    area = areaOf(width, height);
}

void Item::MakeRegion() {
    if (region)
        return;
    const int x = truncateCoordinate(pose.x);
    const int y = truncateCoordinate(pose.y);
    bounds.left = x;
    bounds.top = y;
    if (width != 0) {
        // SIZE: the box is 10 narrower than the stored width, which still gives the area.
        bounds.right = truncateCoordinate(double(x) + width - kSizeRightInset);
        bounds.bottom = truncateCoordinate(double(y) + height);
    } else if (text.empty()) {
        width = kDefaultWidth;
        height = kDefaultHeight;
        bounds.right = truncateCoordinate(pose.x + kDefaultWidth);
        bounds.bottom = truncateCoordinate(pose.y + kDefaultHeight);
    } else {
        const Size extent = surface ? surface->measureText(text) : Size{};
        width = std::clamp(extent.width, 0, kCoordinateLimit) + 2 * kTextMarginX;
        height = std::clamp(extent.height, 0, kCoordinateLimit) + 2 * kTextMarginY;
        bounds.left = x - kTextMarginX;
        bounds.top = y - kTextMarginY;
        bounds.right = truncateCoordinate(pose.x + width);
        bounds.bottom = truncateCoordinate(pose.y + height);
    }
    area = areaOf(width, height);
    region = std::make_unique<Region>(Region::rectangle(bounds));
}

Status Item::Connect() {
    for (Connection* list : {outputs, endOutputs, operators}) {
        for (Connection* c = list; c; c = c->next) {
            if (Status connected = lorvenna::Connect(*c); !connected)
                return connected;
        }
    }
    return {};
}

bool Item::Click(Display*, int, int, int) {
    return true;
}

std::int32_t Item::HitTest(int x, int y) {
    return bounds.contains(x, y) ? area : 0;
}

std::int32_t Item::HitTestRight(int x, int y) {
    return bounds.contains(x, y) ? area : 0;
}

Status Item::acceptDefinition() {
    return {};
}

bool Item::EndDefinition() {
    return false;
}

Status Item::ReadCommand(const char*) {
    return unknownLine();
}

void Item::Draw() {}

void Item::Input(const char*, double, const Pose*) {}

bool Item::PreProcessKey(KeyEntry&) {
    return false;
}

void Item::ClearAnswer() {}

bool Item::Command(unsigned) {
    return false;
}

bool Item::Scroll(ScrollRequest, Control*) {
    return false;
}

} // namespace lorvenna

// The base class of every page item: its place, outline, connections, answer keys and the
// operations through which displays, the page builder and connections talk to it.
#pragma once

#include "items/KeyEntry.h"
#include "items/Pose.h"
#include "platform/Control.h"
#include "platform/Diagnostic.h"
#include "platform/Geometry.h"
#include "platform/Region.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lorvenna {

struct Connection;
struct Display;
class Control;
class Shape;
class Surface;

// Item type codes, which are also the rows of the item type table.
enum class ItemType : std::int32_t {
    None = 0,
    Bmp = 1,
    Text = 2,
    Label = 3,
    Edit = 4,
    Button = 5,
    Highlighter = 6,
    Slider = 7,
    Timer = 8,
    Ani = 9,
    Zone = 10,
    Imsel = 11,
};

// How an item shows on its display. An item passes its visibility to its shapes as their
// drawing mode, so the numbers are the shapes' modes as well and stay as they are.
enum class Visibility : std::int32_t {
    Hidden = 0,      // not drawn; shapes move the pen without drawing
    Shown = 1,       // normal pens; a filled zone takes its colour
    Highlighted = 2, // highlight pens and frame; a filled zone takes the complementary colour
    Inverted = 3,    // shapes draw as shown; a filled zone combines its colour with the picture
};

// What ReadCommand gives for a line the type does not know: a failure without words of its
// own, which the ITEM reader words as "Bad MODE %s in Item %s".
inline Status unknownLine() {
    return failure("");
}

// Mouse message passed to Click: the left button press, or 0 when an item clicks itself.
inline constexpr int kLeftButtonDown = 0x201;

class Item {
public:
    Item();
    virtual ~Item();
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    virtual bool StartupAction();
    virtual Shape* AddShape(double angle, double length, const char* kind);
    virtual void PrepareShapes();
    virtual void DrawShapes();
    virtual void MakeRegion();
    // A failure names the connection whose target is not on the page.
    virtual Status Connect();
    virtual bool Click(Display* display, int message, int x, int y);
    virtual std::int32_t HitTest(int x, int y);
    virtual std::int32_t HitTestRight(int x, int y);
    // Whether the block just read describes an item of this type that can work; a failure
    // fails the block with its message. The ITEM reader asks before EndDefinition.
    virtual Status acceptDefinition();
    virtual bool EndDefinition();
    // A line of the type's own; unknownLine() when the type does not know it, a failure with
    // a message when it knows the line and cannot take it.
    virtual Status ReadCommand(const char* line);
    virtual void Draw();
    // motion is the connection's motion vector, or nullptr.
    virtual void Input(const char* name, double value, const Pose* motion);
    virtual bool PreProcessKey(KeyEntry& key);
    virtual void ClearAnswer();
    virtual bool Command(unsigned notification);
    virtual bool Scroll(ScrollRequest request, Control* control);

    // Region and bounds from the outline point list.
    void MakePolygonRegion();
    bool isType(ItemType t) const { return type == t; }

    Item* next = nullptr;
    ItemType type = ItemType::None;
    std::int32_t mode = 0;
    std::string title;
    std::string text; // the FILE word or the gathered "@" lines; empty means none
    std::string spokenName; // ALTTEXT: what a screen reader calls a picture, figure or zone
    Connection* operators = nullptr;
    Connection* outputs = nullptr;
    Connection* endOutputs = nullptr;
    Shape* shapes = nullptr;
    Shape* anchorShape = nullptr;
    std::unique_ptr<Region> region;
    Rect bounds;
    std::int32_t area = 0;
    bool running = false;
    bool isCurrentQuestion = false;
    // The question was judged since its page was entered: a number field does not take it
    // over again on focus, so one answer counts once a visit.
    bool judgedOnPage = false;
    double endX = 0.0;
    double endY = 0.0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::unique_ptr<Control> control;
    std::int32_t controlId = 0;
    Display* display = nullptr;
    Surface* surface = nullptr;
    Visibility visibility = Visibility::Hidden;
    Visibility initialVisibility = Visibility::Hidden; // what RestoreOutputs gives back
    std::int32_t msec = 0;
    Pose initialPose;
    Pose pose;
    Pose motion;
    Pose upperLimit;
    Pose lowerLimit;
    double maximum = 0.0;
    double minimum = 0.0;
    double step = 0.0;
    std::int32_t lineColor = 0;
    std::int32_t lineWidth = 0;
    std::int32_t frameColor = 0;
    std::int32_t frameWidth = 0;
    KeyEntry keys[kMaxKeys];
    std::int32_t keyKinds = 0;
    std::int32_t rightPicks = 0;
    std::int32_t keyCount = 0;
    std::int32_t picks = 0;

private:
    // The shape AddShape appended last, so that a long chain grows without being walked from
    // its start every time. Shapes leave the chain only when the item is deleted.
    Shape* lastShape_ = nullptr;
};

// The item under (x, y) that takes a left click: the smallest non-zero HitTest result below
// 1 000 000, compared as unsigned numbers; on equal results the earlier item of the list.
// nullptr when no item is hit.
Item* hitTestItems(Item* list, int x, int y);

// Items alive now. Each item gets a serial number of its own when it is made, so a pointer
// whose item was deleted (and whose memory may hold a newer item) is never taken for it.
bool isLiveItem(const Item* item);
// The serial number of a live item; 0 when the item is not alive.
std::uint64_t liveItemSerial(const Item* item);

// Truncation toward zero that cannot overflow: NaN gives 0, values beyond the int32 range
// take its nearest end.
int truncateToInt(double value);
// Coordinates and sizes in pixels are kept within +-kCoordinateLimit, far beyond any screen,
// so a wild number in a lesson file can neither overflow the geometry arithmetic nor make a
// region of millions of rows.
inline constexpr int kCoordinateLimit = 65536;
int truncateCoordinate(double value);

// The process-wide 16-bit control id counter shared by items and display windows; it starts
// at 808 and only counts up.
std::int16_t nextControlId();
// Whether a notification word (control id in its low 16 bits) comes from the control with
// this id. Compares the 16 bits only, so ids past 32767 (negative as int16) still match.
inline bool controlIdMatches(std::int32_t controlId, unsigned notification) {
    return (static_cast<unsigned>(controlId) & 0xFFFFu) == (notification & 0xFFFFu);
}

// The outline point list shared by all items: at most 1000 points.
inline constexpr int kMaxOutlinePoints = 1000;
struct OutlinePoints {
    static void startAt(Point first);
    static void clear();
    static void add(Point p); // dropped silently when the list is full
    static const std::vector<Point>& points();
};

} // namespace lorvenna

// The BMP item: loading its picture file, placing, drawing and showing or hiding it.
#include "items/types/ItemBMP.h"

#include "platform/LineMatcher.h"
#include "lesson/Display.h"
#include "platform/DibReader.h"
#include "platform/FileSystem.h"
#include "platform/Surface.h"
#include "platform/FixedText.h"
#include "shell/SessionState.h"

#include <algorithm>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

constexpr const char* kPictureFolder = "BMPS\\";
constexpr const char* kPictureExtension = ".BMP";
constexpr const char* kFlash = "FLASH";
constexpr const char* kHide = "HIDE";
constexpr const char* kAppear = "APPEAR";

// Closes the file whatever way the load ends.
struct OpenFile {
    FileHandle handle;
    ~OpenFile() { closeFile(handle); }
};

} // namespace

ItemBMP::ItemBMP() {
    type = static_cast<std::int32_t>(ItemType::Bmp);
    visibility = 1;
    initialVisibility = 1;
}

bool ItemBMP::StartupAction() {
    // Read once in the item's life: a display kept across pages does not read it again.
    if (loaded())
        return true;
    const std::string path = kPictureFolder + text + kPictureExtension;
    if (!fileExists(path)) {
        formatText(session().errorText, "Image %s not present in BMPS folder!", path.c_str());
        return false;
    }
    if (!load())
        return false;
    setGeometry();
    return true;
}

// Reads and decodes the file. Every failure (cannot open or read, not "BM", a declared size
// that the file does not hold, a damaged picture) leaves no picture, so the next page start
// tries again, and adds no message of its own.
bool ItemBMP::load() {
    OpenFile file{openForReading(kPictureFolder + text + kPictureExtension)};
    if (isInvalid(file.handle))
        return false;
    std::uint8_t header[kDibFileHeaderSize];
    if (readBytes(file.handle, header, sizeof header) != long(sizeof header))
        return false;
    if (header[0] != 'B' || header[1] != 'M')
        return false;
    const std::uint32_t declared =
        header[2] | (header[3] << 8) | (header[4] << 16) | (std::uint32_t{header[5]} << 24);
    // Nothing is allocated for a size the file does not have.
    if (!seekToEnd(file.handle))
        return false;
    const long actual = filePosition(file.handle);
    if (declared < kDibFileHeaderSize || declared > std::uint64_t(std::max(actual, 0L)) ||
        declared > kMaxPictureFileSize || !seekFile(file.handle, kDibFileHeaderSize))
        return false;

    std::vector<std::uint8_t> bytes(declared);
    std::copy(header, header + kDibFileHeaderSize, bytes.begin());
    const long rest = long(declared - kDibFileHeaderSize);
    if (readBytes(file.handle, bytes.data() + kDibFileHeaderSize, rest) != rest)
        return false;
    image = decodeDib(bytes.data(), bytes.size());
    return loaded();
}

void ItemBMP::setGeometry() {
    const SessionState& s = session();
    width = truncateCoordinate(image.width() * s.scaleX);
    height = truncateCoordinate(image.height() * s.scaleY);
    if (display) {
        // A picture reaching past the display is squeezed into what is left; one that starts
        // beyond it has nothing left and draws nothing.
        const Rect& client = display->clientRect;
        if (pose.x + width > client.right)
            width = std::max(0, truncateCoordinate(client.right - pose.x));
        if (pose.y + height > client.bottom)
            height = std::max(0, truncateCoordinate(client.bottom - pose.y));
    }
    const int left = truncateCoordinate(pose.x);
    const int top = truncateCoordinate(pose.y);
    bounds = {left, top, truncateCoordinate(pose.x + width), truncateCoordinate(pose.y + height)};
    if (!region)
        region = std::make_unique<Region>(Region::rectangle(bounds));
}

void ItemBMP::Draw() {
    if (visibility == 0 || !loaded() || !surface)
        return;
    const int left = truncateCoordinate(pose.x);
    const int top = truncateCoordinate(pose.y);
    surface->stretchPicture(image, {0, 0, image.width(), image.height()},
                            {left, top, left + width, top + height});
}

void ItemBMP::Input(const char* name, double, const Pose*) {
    if (containsText(name, kFlash)) {
        if (visibility == 0 || visibility == 1)
            visibility = 1 - visibility;
    } else if (containsText(name, kHide)) {
        visibility = 0;
    } else if (containsText(name, kAppear)) {
        visibility = 1;
    }
    if (display)
        display->needsRepaint = 1;
}

} // namespace lorvenna

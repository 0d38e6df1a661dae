// The BMP item: loading its picture file, placing, drawing and showing or hiding it.
#include "items/types/ItemBMP.h"

#include "items/Display.h"
#include "items/RunObjects.h"
#include "platform/DibReader.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/LineMatcher.h"
#include "platform/Surface.h"

#include <algorithm>
#include <cstdint>
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

// Reads and decodes a picture file; a null picture for every failure.
Picture readPicture(const std::string& path) {
    OpenFile file{openForReading(path)};
    if (isInvalid(file.handle))
        return {};
    std::uint8_t header[kDibFileHeaderSize];
    if (readBytes(file.handle, header, sizeof header) != long(sizeof header))
        return {};
    if (header[0] != 'B' || header[1] != 'M')
        return {};
    const std::uint32_t declared =
        header[2] | (header[3] << 8) | (header[4] << 16) | (std::uint32_t{header[5]} << 24);
    // Nothing is allocated for a size the file does not have.
    if (!seekToEnd(file.handle))
        return {};
    const long actual = filePosition(file.handle);
    if (declared < kDibFileHeaderSize || declared > std::uint64_t(std::max(actual, 0L)) ||
        declared > kMaxPictureFileSize || !seekFile(file.handle, kDibFileHeaderSize))
        return {};

    std::vector<std::uint8_t> bytes(declared);
    std::copy(header, header + kDibFileHeaderSize, bytes.begin());
    const long rest = long(declared - kDibFileHeaderSize);
    if (readBytes(file.handle, bytes.data() + kDibFileHeaderSize, rest) != rest)
        return {};
    return decodeDib(bytes.data(), bytes.size());
}

// Pictures that no item shows any more leave the shelf, and their pixels with them.
void pruneShelf(PictureShelf& shelf) {
    for (auto kept = shelf.byPath.begin(); kept != shelf.byPath.end();) {
        const Picture& picture = kept->second;
        if (picture.onlyHolder()) {
            shelf.pixels -= std::int64_t{picture.width()} * picture.height();
            kept = shelf.byPath.erase(kept);
        } else {
            ++kept;
        }
    }
}

} // namespace

ItemBMP::ItemBMP() {
    type = ItemType::Bmp;
    visibility = Visibility::Shown;
    initialVisibility = Visibility::Shown;
}

// A HIDE line in the block makes the picture start hidden, and hidden is then what a
// highlighter or text that stops puts it back to.
bool ItemBMP::EndDefinition() {
    initialVisibility = visibility;
    return true;
}

bool ItemBMP::StartupAction() {
    // Read once in the item's life: a display kept across pages does not read it again.
    if (loaded())
        return true;
    const std::string path = kPictureFolder + text + kPictureExtension;
    // The page builder words the failure; the course check names the missing picture.
    if (!fileExists(path))
        return false;
    if (!load())
        return false;
    setGeometry();
    return true;
}

// The picture of the file, from the lesson's shelf or read and decoded. Every failure (cannot
// open or read, not "BM", a declared size that the file does not hold, a damaged picture,
// more pixels than the pictures shown may hold together) leaves no picture, so the next page
// start tries again, and adds no message of its own.
bool ItemBMP::load() {
    const std::string path = kPictureFolder + text + kPictureExtension;
    PictureShelf& shelf = pageOnScreen().pictures;
    const std::string key = foldedCopy(path);
    if (const auto kept = shelf.byPath.find(key); kept != shelf.byPath.end()) {
        image = kept->second;
        return loaded();
    }
    pruneShelf(shelf);
    Picture decoded = readPicture(path);
    const std::int64_t pixels = std::int64_t{decoded.width()} * decoded.height();
    if (decoded.isNull() || shelf.pixels + pixels > kMaxPicturePixelsHeld)
        return false;
    shelf.pixels += pixels;
    image = shelf.byPath.emplace(key, std::move(decoded)).first->second;
    return loaded();
}

void ItemBMP::setGeometry() {
    // A pixel of the picture is a unit of the page; the display's surface scales both.
    width = image.width();
    height = image.height();
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
    if (visibility == Visibility::Hidden || !loaded() || !surface)
        return;
    const int left = truncateCoordinate(pose.x);
    const int top = truncateCoordinate(pose.y);
    surface->stretchPicture(image, {0, 0, image.width(), image.height()},
                            {left, top, left + width, top + height});
}

void ItemBMP::Input(const char* name, double, const Pose*) {
    if (containsText(name, kFlash)) {
        // Only a plain hidden or shown picture flashes.
        if (visibility == Visibility::Hidden)
            visibility = Visibility::Shown;
        else if (visibility == Visibility::Shown)
            visibility = Visibility::Hidden;
    } else if (containsText(name, kHide)) {
        visibility = Visibility::Hidden;
    } else if (containsText(name, kAppear)) {
        visibility = Visibility::Shown;
    }
    if (display)
        display->needsRepaint = 1;
}

} // namespace lorvenna

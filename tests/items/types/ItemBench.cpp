// Benches for the item tests.
#include "tests/items/types/ItemBench.h"

#include "items/Drawing.h"
#include "items/Item.h"
#include "items/ItemReader.h"
#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "lesson/PageBuilder.h"
#include "platform/ChildWindow.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/QtChildWindow.h"
#include "shell/DisplayWindowProc.h"
#include "shell/Session.h"

#include "platform/Picture.h"

#include <QAbstractButton>
#include <QImage>
#include <QWidget>

namespace lorvenna {

FreshSession::FreshSession() {
    resetSession();
}

LessonBench::LessonBench() = default;

LessonBench::~LessonBench() {
    lessonTeardown();
    resetSession();
}

Status LessonBench::load(std::string_view lesson) {
    folder.write("LSNS/01-01.LSN", lesson);
    lorvenna::lesson().lessonMajor = 1;
    lorvenna::lesson().lessonMinor = 1;
    setText(lorvenna::lesson().lessonName, "01-01");
    setText(lorvenna::lesson().lessonPath, "LSNS\\01-01.LSN");
    last_ = readLessonIndex();
    return last_;
}

Status LessonBench::build(int page) {
    last_ = buildPage(page);
    if (!last_)
        return last_;
    // What the new windows' first paint does.
    repaintAllDisplays();
    return last_;
}

Item* LessonBench::item(std::string_view title) const {
    for (const Display* shown : shownDisplays()) {
        for (Item* candidate = shown->items; candidate; candidate = candidate->next) {
            if (equalsIgnoringCase(candidate->title, title))
                return candidate;
        }
    }
    return nullptr;
}

Display* LessonBench::display(int slot) const {
    return pageOnScreen().displays[slot];
}

QWidget* LessonBench::controlWidget(Item* owner) const {
    if (!owner || !owner->control || !owner->display || !owner->display->window)
        return nullptr;
    const Rect place = owner->control->geometry();
    QWidget* window = widgetOf(*owner->display->window);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        const QRect g = child->geometry();
        if (child->parentWidget() && g.x() == place.left && g.y() == place.top &&
            g.width() == place.width() && g.height() == place.height())
            return child;
    }
    return nullptr;
}

void LessonBench::press(Item* button) const {
    if (auto* push = qobject_cast<QAbstractButton*>(controlWidget(button)))
        push->click();
}

void LessonBench::clickDisplay(int slot, int x, int y) const {
    Display* shown = display(slot);
    if (shown && shown->window)
        displayWindowProc()->leftButtonDown(*shown->window, x, y);
}

PaperDisplay::PaperDisplay(int slot, int width, int height) : slot_(slot) {
    display.clientRect = {0, 0, width, height};
    display.surface = &surface;
    display.windowSurface = &screen;
    pageOnScreen().displays[slot_] = &display;
}

PaperDisplay::~PaperDisplay() {
    if (pageOnScreen().displays[slot_] == &display)
        pageOnScreen().displays[slot_] = nullptr;
}

bool PaperDisplay::read(std::unique_ptr<Item> item, const char* title, std::string_view lines) {
    // Every paper display has a folder of its own; the one read from is this one.
    setWorkingFolder(folder_.path());
    folder_.write("LSNS/BLOCK.TXT", std::string(lines) + "\n}\n");
    FileHandle file = openForReading("LSNS\\BLOCK.TXT");
    last_ = readItemBlock(item.get(), title, &display, file);
    if (!last_)
        return false;
    closeFile(file);
    display.appendItem(item.release());
    return true;
}

Color shownColor(Display* display, int x, int y) {
    const QColor c = widgetOf(*display->window)->grab().toImage().pixelColor(x, y);
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

bool showsPicture(Display* display, const Picture& picture, int x, int y) {
    const QImage shown = widgetOf(*display->window)->grab().toImage();
    for (int py = 0; py < picture.height(); ++py) {
        for (int px = 0; px < picture.width(); ++px) {
            const QColor c = shown.pixelColor(x + px, y + py);
            const Color expected = picture.pixel(px, py);
            if (c.red() != expected.r || c.green() != expected.g || c.blue() != expected.b)
                return false;
        }
    }
    return true;
}

} // namespace lorvenna

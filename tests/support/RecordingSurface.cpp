// A drawing surface for tests that records every call as a line of text.
#include "tests/support/RecordingSurface.h"

#include "platform/Picture.h"
#include "platform/Region.h"

#include <algorithm>
#include <cstdio>

namespace lorvenna {

namespace {

std::string pointText(int x, int y) {
    return std::to_string(x) + "," + std::to_string(y);
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    out += '"';
    return out;
}

std::string flagsText(unsigned flags) {
    static constexpr struct {
        unsigned flag;
        const char* name;
    } kNames[] = {{TextCenter, "center"},
                  {TextWordBreak, "wordbreak"},
                  {TextSingleLine, "singleline"},
                  {TextCalcRect, "calcrect"}};
    std::string out;
    for (const auto& entry : kNames) {
        if (!(flags & entry.flag))
            continue;
        if (!out.empty())
            out += '|';
        out += entry.name;
    }
    return out.empty() ? "left" : out;
}

int textWidth(std::string_view line) {
    return static_cast<int>(line.size()) * RecordingSurface::kCharWidth;
}

// Breaks one paragraph (no line breaks in it) at blanks so that each line fits width.
void wrapParagraph(std::string_view rest, int width, std::vector<std::string>& lines) {
    while (true) {
        if (textWidth(rest) <= width) {
            lines.emplace_back(rest);
            return;
        }
        const std::size_t fits = static_cast<std::size_t>(width / RecordingSurface::kCharWidth);
        const std::size_t firstWord = rest.find_first_not_of(' ');
        std::size_t cut = rest.rfind(' ', fits);
        if (cut == std::string_view::npos || cut < firstWord || cut == 0) {
            // No blank within the width: the first word stands alone, however wide.
            cut = rest.find(' ', firstWord == std::string_view::npos ? 0 : firstWord);
            if (cut == std::string_view::npos) {
                lines.emplace_back(rest);
                return;
            }
        }
        std::string_view line = rest.substr(0, cut);
        while (!line.empty() && line.back() == ' ')
            line.remove_suffix(1);
        lines.emplace_back(line);
        rest.remove_prefix(cut);
        const std::size_t next = rest.find_first_not_of(' ');
        if (next == std::string_view::npos)
            return;
        rest.remove_prefix(next);
    }
}

} // namespace

std::string RecordingSurface::colorText(Color color) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", color.r, color.g, color.b);
    return buffer;
}

std::string RecordingSurface::rectText(const Rect& rect) {
    return pointText(rect.left, rect.top) + "," + pointText(rect.right, rect.bottom);
}

std::string RecordingSurface::penText() const {
    if (!pen_)
        return "1 #000000";
    return std::to_string(pen_->width) + " " + colorText(pen_->color);
}

std::vector<std::string> RecordingSurface::layOut(std::string_view text, int width,
                                                  unsigned flags) {
    std::vector<std::string> lines;
    if (flags & TextSingleLine) {
        std::string line;
        for (char c : text) {
            if (c != '\r' && c != '\n')
                line += c;
        }
        lines.push_back(line);
        return lines;
    }
    const bool wrap = (flags & TextWordBreak) && width > 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find_first_of("\r\n", start);
        const std::string_view paragraph = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (wrap)
            wrapParagraph(paragraph, width, lines);
        else
            lines.emplace_back(paragraph);
        if (end == std::string_view::npos)
            return lines;
        // CR LF is one line break; so is a lone CR or LF.
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
}

void RecordingSurface::moveTo(int x, int y) {
    position_ = {x, y};
    record("moveTo " + pointText(x, y));
}

void RecordingSurface::lineTo(int x, int y) {
    record("lineTo " + pointText(x, y) + " pen " + penText());
    position_ = {x, y};
}

const Pen* RecordingSurface::selectPen(const Pen* pen) {
    const Pen* previous = pen_;
    pen_ = pen;
    record(pen ? "selectPen " + penText() : std::string("selectPen stock"));
    return previous;
}

void RecordingSurface::ellipse(const Rect& box) {
    record("ellipse " + rectText(box) + " pen " + penText() + " brush " + colorText(brush_));
}

void RecordingSurface::setBrush(Color color) {
    brush_ = color;
    record("setBrush " + colorText(color));
}

void RecordingSurface::roundRect(const Rect& box, int cornerWidth, int cornerHeight) {
    record("roundRect " + rectText(box) + " corner " + pointText(cornerWidth, cornerHeight) +
           " pen " + penText() + " brush " + colorText(brush_));
}

void RecordingSurface::fillRect(const Rect& box, Color color) {
    record("fillRect " + rectText(box) + " " + colorText(color));
}

int RecordingSurface::drawText(std::string_view text, Rect& box, unsigned flags) {
    record("drawText " + quoted(text) + " " + rectText(box) + " " + flagsText(flags));
    const std::vector<std::string> lines = layOut(text, box.width(), flags);
    int widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, textWidth(line));
    const int height = static_cast<int>(lines.size()) * kLineHeight;
    if (flags & TextCalcRect) {
        box.right = box.left + widest;
        box.bottom = box.top + height;
    }
    return height;
}

Size RecordingSurface::measureText(std::string_view text) {
    record("measureText " + quoted(text));
    return {textWidth(text), kLineHeight};
}

void RecordingSurface::fillRegion(const Region& region, Color color) {
    record("fillRegion " + rectText(region.boundingBox()) + " " + colorText(color));
}

void RecordingSurface::invertRegion(const Region& region) {
    record("invertRegion " + rectText(region.boundingBox()));
}

void RecordingSurface::fillRegionNotXor(const Region& region, Color color) {
    record("fillRegionNotXor " + rectText(region.boundingBox()) + " " + colorText(color));
}

void RecordingSurface::drawPicture(const Picture& picture, int x, int y) {
    record("drawPicture " + std::to_string(picture.width()) + "x" +
           std::to_string(picture.height()) + " at " + pointText(x, y));
}

void RecordingSurface::stretchPicture(const Picture& picture, const Rect& source,
                                      const Rect& dest) {
    record("stretchPicture " + std::to_string(picture.width()) + "x" +
           std::to_string(picture.height()) + " " + rectText(source) + " to " + rectText(dest));
}

std::vector<std::string> RecordingSurface::callsStartingWith(std::string_view prefix) const {
    std::vector<std::string> out;
    for (const std::string& call : calls_) {
        if (call.compare(0, prefix.size(), prefix) == 0)
            out.push_back(call);
    }
    return out;
}

bool RecordingSurface::contains(std::string_view call) const {
    return std::find(calls_.begin(), calls_.end(), call) != calls_.end();
}

std::string RecordingSurface::joined() const {
    std::string out;
    for (const std::string& call : calls_) {
        out += call;
        out += '\n';
    }
    return out;
}

} // namespace lorvenna

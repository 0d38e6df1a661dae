// A drawing surface for tests: it draws nothing and records every call as a line of text.
#pragma once

#include "platform/Surface.h"

#include <string>
#include <string_view>
#include <vector>

namespace lorvenna {

// Keeps the current position, the selected pen and the brush as a real surface does, and
// measures text deterministically: every character is kCharWidth pixels wide and every line
// kLineHeight high. Line breaks (CR LF, LF or CR) start new lines unless TextSingleLine is
// given, a line break at the very end starts an empty last line, and TextWordBreak wraps at
// blanks within the box's width (a word wider than the box stands alone on its line).
//
// The lines it records (coordinates as l,t,r,b; colours as #RRGGBB; a pen as its width and
// colour, the stock pen as "1 #000000"; texts in double quotes with CR and LF as \r and \n):
//   moveTo x,y
//   lineTo x,y pen W #RRGGBB
//   selectPen W #RRGGBB                  (selectPen stock for nullptr)
//   ellipse l,t,r,b pen W #RRGGBB brush #RRGGBB
//   setBrush #RRGGBB
//   roundRect l,t,r,b corner w,h pen W #RRGGBB brush #RRGGBB
//   fillRect l,t,r,b #RRGGBB
//   drawText "text" l,t,r,b flags     (flags: any of center wordbreak singleline calcrect,
//                                      joined by '|', or left; box as passed in)
//   measureText "text"
//   fillRegion l,t,r,b #RRGGBB        (the region's bounding box)
//   invertRegion l,t,r,b
//   fillRegionNotXor l,t,r,b #RRGGBB
//   drawPicture WxH at x,y
//   stretchPicture WxH l,t,r,b to l,t,r,b
class RecordingSurface : public Surface {
public:
    static constexpr int kCharWidth = 8;
    static constexpr int kLineHeight = 16;

    void moveTo(int x, int y) override;
    Point currentPosition() const override { return position_; }
    void lineTo(int x, int y) override;
    const Pen* selectPen(const Pen* pen) override;
    void ellipse(const Rect& box) override;
    void setBrush(Color color) override;
    void roundRect(const Rect& box, int cornerWidth, int cornerHeight) override;
    void fillRect(const Rect& box, Color color) override;
    int drawText(std::string_view text, Rect& box, unsigned flags) override;
    Size measureText(std::string_view text) override;
    void fillRegion(const Region& region, Color color) override;
    void invertRegion(const Region& region) override;
    void fillRegionNotXor(const Region& region, Color color) override;
    void drawPicture(const Picture& picture, int x, int y) override;
    void stretchPicture(const Picture& picture, const Rect& source, const Rect& dest) override;

    // Every call so far, in order.
    const std::vector<std::string>& calls() const { return calls_; }
    void clear() { calls_.clear(); }
    // The calls that start with prefix ("lineTo", "ellipse"), in order.
    std::vector<std::string> callsStartingWith(std::string_view prefix) const;
    bool contains(std::string_view call) const;
    // All calls, one per line.
    std::string joined() const;

    const Pen* selectedPen() const { return pen_; }
    Color brush() const { return brush_; }

    // The lines text breaks into in a box of width (no limit when width <= 0 or without
    // TextWordBreak), as drawText lays them out.
    static std::vector<std::string> layOut(std::string_view text, int width, unsigned flags);

    // Formatting helpers, also for the expectations of tests.
    static std::string colorText(Color color);
    static std::string rectText(const Rect& rect);

private:
    std::string penText() const;
    void record(std::string call) { calls_.push_back(std::move(call)); }

    std::vector<std::string> calls_;
    Point position_;
    const Pen* pen_ = nullptr;
    Color brush_{255, 255, 255};
};

} // namespace lorvenna

// A page of a lesson as the student first sees it, rendered without a screen: the main
// window's page area with its displays, status strip and, after an answer, the marks and the
// comment panel.
#pragma once

#include <QImage>

#include <string>

namespace lorvenna {

class PageShot {
public:
    // Renders page of the lesson file at lessonFile (a host path; the folder above its LSNS
    // folder is the working folder, so its pictures are found). With answer, the page's
    // first question is answered first, from its own keys or, with right false, wrongly, and
    // the picture is taken during the pause. The page is drawn at scale (page pixels per unit;
    // 1.0 as authored) and the picture is that many times the page's size. False with the
    // reason in error().
    bool render(const std::string& lessonFile, int page, bool answer, bool right = true,
                double scale = 1.0);

    const QImage& image() const { return image_; }
    const std::string& error() const { return error_; }

private:
    bool fail(std::string reason);

    QImage image_;
    std::string error_;
};

} // namespace lorvenna

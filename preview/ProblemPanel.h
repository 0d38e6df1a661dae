// The panel that lists a lesson's problems over the page: over the last good page, dimmed,
// when the page cannot be shown; as a strip below a page that still works when the problems
// are elsewhere in the lesson.
#pragma once

#include <QImage>
#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;

namespace lorvenna {

class ProblemPanel final : public QWidget {
public:
    explicit ProblemPanel(QWidget* mainWindow);

    // Covers the page area (below the button row) with the dimmed picture of the last good
    // page (none: the window's own background) and the problems in a box over it.
    void showOverPage(const QImage& lastGoodPage, const std::string& title,
                      const std::vector<std::string>& lines);
    // A strip below the page area, or at its foot when the window has no room below it; the
    // page stays live.
    void showBelowPage(const std::string& title, const std::vector<std::string>& lines);

    bool coversPage() const { return isVisible() && covering_; }
    // Room kept free at the foot of the main window (the preview's status line).
    void setBottomMargin(int margin) { bottomMargin_ = margin; }
    std::string title() const;
    std::vector<std::string> lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fill(const std::string& title, const std::vector<std::string>& lines);
    QRect pageArea() const;

    QWidget* box_ = nullptr;
    QLabel* title_ = nullptr;
    QPlainTextEdit* list_ = nullptr;
    QImage lastGood_;
    bool covering_ = false;
    int bottomMargin_ = 0;
};

} // namespace lorvenna

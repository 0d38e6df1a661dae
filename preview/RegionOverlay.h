// The outlines of where clicks land, drawn over the page for the author: each display's frame
// and name, each item's click rectangle and title, and each zone's hit region. Clicks go
// through it to the page.
#pragma once

#include <QTimer>
#include <QWidget>

namespace lorvenna {

class RegionOverlay final : public QWidget {
public:
    explicit RegionOverlay(QWidget* mainWindow);

    // Shown over everything of the main window; it follows moving items while shown.
    void setShown(bool shown);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer follow_;
};

} // namespace lorvenna

// The main window "Lorvenna": its row of buttons, the feedback panel and the status area,
// the display windows as its children, and the events that drive the controller.
#pragma once

#include "items/AppServices.h"
#include "platform/Picture.h"
#include "platform/QtSurface.h"
#include "shell/Controller.h"
#include "shell/KeyboardFocus.h"

#include <QBasicTimer>
#include <QImage>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

class QLabel;
class QPushButton;

namespace lorvenna {

class Announcer;

// The virtual-key code of a key press, None for a key that has none in the key table's range.
// Keypad keys count only with the keypad modifier; letters are their upper-case codes.
VirtualKey virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

class MainWindow final : public QWidget, public AppServices, public ControllerWindow {
public:
    explicit MainWindow(ControllerSteps steps = ControllerSteps::real());
    ~MainWindow() override;

    Controller& controller() { return controller_; }

    // AppServices
    void postState(StateCode code, int page = 0) override;
    void focusMainWindow() override;
    void setCaption(std::string_view caption) override;
    void showFeedbackPanel(std::string_view text, int width, int height) override;
    void hideFeedbackPanel() override;
    void startControllerTimer() override;
    void killControllerTimer() override;
    void drawStatusText(std::string_view text) override;
    void drawPageStrip() override;
    void announce(std::string_view text) override;
    const Picture& picture(PictureId id) override;
    std::unique_ptr<ChildWindow> createDisplayWindow(Display* display, int id,
                                                     const Rect& rect) override;

    // ControllerWindow
    void enableNoteButton() override;
    void restoreWindow() override;
    void discardPendingInput() override;
    void destroyWindow() override;

    // What ends the program once the window is destroyed; leaving the event loop with exit
    // code 0 unless a test puts something else in its place.
    void setExitHandler(std::function<void()> handler) { exitHandler_ = std::move(handler); }
    bool isDestroyed() const { return destroyed_; }

    QPushButton* button(CommandId id) const;
    QLabel* feedbackPanel() const { return feedbackPanel_; }
    Announcer* announcer() const { return announcer_; }
    KeyboardFocus& keyboardFocus() { return keyboard_; }
    // The status area's picture, as the window shows it at statusRect.
    const QImage& statusImage() const { return statusImage_; }
    bool controllerTimerActive() const { return controllerTimer_.isActive(); }
    bool discardingInput() const { return discardingInput_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void createButtons();
    void createFeedbackPanel();
    QRect statusArea() const;
    void showStatusImage(bool now);

    Controller controller_;
    std::map<CommandId, QPushButton*> buttons_;
    QLabel* feedbackPanel_ = nullptr;
    Announcer* announcer_ = nullptr;
    KeyboardFocus keyboard_;
    QImage statusImage_;
    std::unique_ptr<QtSurface> statusSurface_;
    bool statusDrawn_ = false;
    QBasicTimer controllerTimer_;
    std::map<PictureId, Picture> pictures_;
    bool discardingInput_ = false;
    unsigned discardRound_ = 0;
    bool destroyed_ = false;
    std::function<void()> exitHandler_;
};

} // namespace lorvenna

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
#include <optional>
#include <string>

class QLabel;
class QPushButton;

namespace lorvenna {

class Announcer;

// The virtual-key code of a key press, None for a key that has none in the key table's range.
// Keypad keys count only with the keypad modifier; letters are their upper-case codes.
VirtualKey virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// How the page meets the window: scaled to fit it (the largest factor at which the page fits,
// centred), or as authored, one unit a pixel.
enum class PageFit { Fit, Actual };

// The user's choice of page size and full screen, as remembered for a course folder.
struct PageChoice {
    PageFit fit = PageFit::Fit;
    bool fullScreen = false;
    bool operator==(const PageChoice&) const = default;
};

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

    // F11 toggles full screen, Ctrl+0 shows the page as authored, Ctrl+= fits it again; each
    // change of these goes to the handler (the program remembers it with the course).
    void applyPageChoice(const PageChoice& choice);
    PageChoice pageChoice() const;
    void setPageChoiceHandler(std::function<void(const PageChoice&)> handler) {
        pageChoiceHandler_ = std::move(handler);
    }
    // A fixed factor in place of the choice (the page shot tool); nullopt goes back to it.
    void setFixedPageScale(std::optional<double> factor);
    // Pixels at the foot of the window the page is not fitted into (the preview's status
    // line).
    void setFootHeight(int pixels);

    QPushButton* button(CommandId id) const;
    QLabel* feedbackPanel() const { return feedbackPanel_; }
    Announcer* announcer() const { return announcer_; }
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
    void resizeEvent(QResizeEvent* event) override;

private:
    void createButtons();
    void createFeedbackPanel();
    QRect statusArea() const;
    void showStatusImage(bool now);
    // Takes the scale from the client area and the choice, and places everything anew.
    void applyScale();
    void makeStatusImage();
    void placeFeedbackPanel();
    bool pageKey(int key, Qt::KeyboardModifiers modifiers);
    void changePageChoice(const PageChoice& choice);

    Controller controller_;
    std::map<CommandId, QPushButton*> buttons_;
    QLabel* feedbackPanel_ = nullptr;
    Announcer* announcer_ = nullptr;
    KeyboardFocus keyboard_;
    Rect panelPlace_; // on the page
    QImage statusImage_;
    double statusPixelRatio_ = 1.0;
    std::string statusText_; // shown when the strip is not
    bool statusIsStrip_ = false;
    PageFit fit_ = PageFit::Fit;
    std::optional<double> fixedScale_;
    int footHeight_ = 0;
    std::function<void(const PageChoice&)> pageChoiceHandler_;
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

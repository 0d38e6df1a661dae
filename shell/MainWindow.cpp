// The main window "Lorvenna": buttons, feedback panel, status area and display windows, and
// the Qt events that become the controller's messages, keys, commands and ticks.
#include "shell/MainWindow.h"

#include "items/Drawing.h"
#include "items/RunObjects.h"
#include "platform/QtChildWindow.h"
#include "platform/QtText.h"
#include "platform/ScreenScale.h"
#include "shell/DisplayWindowProc.h"
#include "shell/MainWindowAccessibility.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <string>

namespace lorvenna {

namespace {

// The controller message: the state code and, for ShowPage, the page.
const QEvent::Type kControllerEvent = static_cast<QEvent::Type>(QEvent::User + 0x100);

class ControllerEvent final : public QEvent {
public:
    ControllerEvent(StateCode code, int page) : QEvent(kControllerEvent), code(code), page(page) {}
    StateCode code;
    int page;
};

constexpr int kControllerTimerMs = 300;
constexpr QColor kDarkGrey{64, 64, 64};

struct ButtonPlace {
    CommandId id;
    const char* caption;
    int x;
    int y;
    int width;
    int height;
    bool enabled;
    Rect onPage() const { return Rect{x, y, x + width, y + height}; }
};

constexpr ButtonPlace kButtons[] = {
    {CommandId::MainMenu, "&Main menu", 12, 5, 110, 28, true},
    {CommandId::Help, "&Help", 130, 5, 62, 28, true},
    {CommandId::Back, "< &Back", 202, 5, 90, 28, true},
    {CommandId::Ahead, "&Ahead >", 500, 5, 90, 28, true},
    {CommandId::Note, "&Note", 600, 5, 62, 28, false},
    {CommandId::Quit, "&Quit", 670, 5, 110, 28, true},
};

constexpr Rect kStatusRect{295, 5, 495, 31};
constexpr int kPanelLeft = 4;
constexpr int kPanelTop = 4;
constexpr int kPanelWidth = 250;
constexpr int kPanelHeight = 95;

struct KeyCode {
    int qtKey;
    VirtualKey code;
};

constexpr KeyCode kNamedKeys[] = {
    {Qt::Key_Backspace, VirtualKey::Backspace},
    {Qt::Key_Tab, VirtualKey::Tab},
    {Qt::Key_Return, VirtualKey::Return},
    {Qt::Key_Enter, VirtualKey::Return},
    {Qt::Key_Escape, VirtualKey::Escape},
    {Qt::Key_Space, VirtualKey::Space},
    {Qt::Key_PageUp, VirtualKey::PageUp},
    {Qt::Key_PageDown, VirtualKey::PageDown},
    {Qt::Key_End, VirtualKey::End},
    {Qt::Key_Home, VirtualKey::Home},
    {Qt::Key_Left, VirtualKey::Left},
    {Qt::Key_Up, VirtualKey::Up},
    {Qt::Key_Right, VirtualKey::Right},
    {Qt::Key_Down, VirtualKey::Down},
    {Qt::Key_Insert, VirtualKey::Insert},
    {Qt::Key_Delete, VirtualKey::Delete},
};

constexpr KeyCode kKeypadKeys[] = {
    {Qt::Key_Asterisk, VirtualKey::KeypadMultiply}, {Qt::Key_Plus, VirtualKey::KeypadAdd},
    {Qt::Key_Minus, VirtualKey::KeypadSubtract},    {Qt::Key_Period, VirtualKey::KeypadDecimal},
    {Qt::Key_Comma, VirtualKey::KeypadDecimal},     {Qt::Key_Slash, VirtualKey::KeypadDivide},
};

// The key at offset steps from first in a run of consecutive codes (digits, letters, F-keys).
VirtualKey keyAfter(VirtualKey first, int offset) {
    return static_cast<VirtualKey>(static_cast<int>(first) + offset);
}

bool isInputEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

QRect toQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

// Puts a widget of the main window at its place on the page, in the window's pixels, with a
// font to match.
void placeWidget(QWidget* widget, const Rect& onPage) {
    widget->setGeometry(toQRect(placeOnWindow(onPage)));
    setScaledFont(widget);
}

} // namespace

VirtualKey virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return keyAfter(keypad ? VirtualKey::Keypad0 : VirtualKey::Digit0, qtKey - Qt::Key_0);
    if (keypad) {
        for (const KeyCode& key : kKeypadKeys) {
            if (key.qtKey == qtKey)
                return key.code;
        }
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return keyAfter(VirtualKey::A, qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return keyAfter(VirtualKey::F1, qtKey - Qt::Key_F1);
    for (const KeyCode& key : kNamedKeys) {
        if (key.qtKey == qtKey)
            return key.code;
    }
    return VirtualKey::None;
}

MainWindow::MainWindow(ControllerSteps steps) : controller_(*this, std::move(steps)) {
    installMainWindowAccessibility();
    installAppServices(this);

    setWindowTitle(QStringLiteral("Lorvenna"));
    // The client area of the page as authored; the window opens maximised and the page grows
    // with it.
    resize(kPageWidth, kPageHeight);
    QPalette background = palette();
    background.setColor(QPalette::Window, kDarkGrey);
    setPalette(background);
    setAutoFillBackground(true);
    // The main window holds the keyboard: the page keys work whatever was clicked last.
    setFocusPolicy(Qt::StrongFocus);

    createButtons();
    createFeedbackPanel();
    announcer_ = new Announcer(this);

    pageOnScreen().statusRect = kStatusRect;
    // The surface measures text on the image it is made on: a real one, made anew by scale.
    statusImage_ = QImage(kStatusRect.width(), kStatusRect.height(), QImage::Format_RGB32);
    statusSurface_ = std::make_unique<QtSurface>(&statusImage_);
    makeStatusImage();

    for (int number = static_cast<int>(PictureId::RightMark);
         number <= static_cast<int>(PictureId::LargePageAhead); ++number)
        pictures_.emplace(PictureId{number}, Picture::resource(PictureId{number}));

    QCoreApplication::instance()->installEventFilter(this);
    applyScale();
}

MainWindow::~MainWindow() {
    QCoreApplication::instance()->removeEventFilter(this);
    if (&appServices() == this)
        installAppServices(nullptr);
}

void MainWindow::createButtons() {
    for (const ButtonPlace& place : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(place.caption), this);
        placeWidget(button, place.onPage());
        button->setEnabled(place.enabled);
        button->setAutoDefault(false);
        // Buttons never keep the keyboard; their mnemonics still work as Alt+letter.
        button->setFocusPolicy(Qt::NoFocus);
        const CommandId id = place.id;
        QObject::connect(button, &QPushButton::clicked, this, [this, id] {
            if (pageOnScreen().pageBuilding)
                return;
            controller_.buttonCommand(id);
        });
        buttons_[id] = button;
    }
}

void MainWindow::createFeedbackPanel() {
    feedbackPanel_ = new QLabel(this);
    feedbackPanel_->setObjectName(QStringLiteral("feedbackPanel"));
    feedbackPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    feedbackPanel_->setLineWidth(2);
    feedbackPanel_->setTextFormat(Qt::PlainText);
    feedbackPanel_->setWordWrap(true);
    feedbackPanel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    feedbackPanel_->setMargin(2);
    // The panel has the look of a dialog, not the dark background of the window.
    const QPalette standard = style()->standardPalette();
    QPalette panelPalette = feedbackPanel_->palette();
    panelPalette.setColor(QPalette::Window, standard.color(QPalette::Window));
    panelPalette.setColor(QPalette::WindowText, standard.color(QPalette::WindowText));
    feedbackPanel_->setPalette(panelPalette);
    feedbackPanel_->setAutoFillBackground(true);
    panelPlace_ = Rect{kPanelLeft, kPanelTop, kPanelLeft + kPanelWidth, kPanelTop + kPanelHeight};
    placeFeedbackPanel();
    feedbackPanel_->hide();
}

QPushButton* MainWindow::button(CommandId id) const {
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

void MainWindow::postState(StateCode code, int page) {
    QCoreApplication::postEvent(this, new ControllerEvent(code, page));
}

void MainWindow::focusMainWindow() {
    // After a dialog has closed no window may hold the keyboard at all: take it back.
    if (!isActiveWindow())
        activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void MainWindow::setCaption(std::string_view caption) {
    // An empty caption (while a lesson is set up) still leaves the window a name in the
    // window lists.
    if (caption.empty()) {
        setWindowTitle(QStringLiteral("Lorvenna"));
        return;
    }
    setWindowTitle(toQString(caption));
}

void MainWindow::placeFeedbackPanel() {
    placeWidget(feedbackPanel_, panelPlace_);
    // The size is the room the comment needs as measured without the panel's frame: where the
    // frame makes it wrap once more, the panel grows so that no line is cut off.
    const QRect placed = feedbackPanel_->geometry();
    const int needed = feedbackPanel_->heightForWidth(placed.width());
    if (needed > placed.height())
        feedbackPanel_->resize(placed.width(), needed);
}

void MainWindow::showFeedbackPanel(std::string_view text, int width, int height) {
    feedbackPanel_->setText(toQString(text));
    panelPlace_ = Rect{kPanelLeft, kPanelTop, kPanelLeft + width, kPanelTop + height};
    placeFeedbackPanel();
    // Over the buttons it overlaps, so the whole comment can be read.
    feedbackPanel_->raise();
    feedbackPanel_->show();
}

void MainWindow::hideFeedbackPanel() {
    feedbackPanel_->hide();
}

void MainWindow::startControllerTimer() {
    controllerTimer_.start(kControllerTimerMs, this);
}

void MainWindow::killControllerTimer() {
    controllerTimer_.stop();
}

QRect MainWindow::statusArea() const {
    return toQRect(placeOnWindow(pageOnScreen().statusRect));
}

void MainWindow::makeStatusImage() {
    // Drawn in page units at the page's scale and the screen's pixel density.
    statusPixelRatio_ = std::max(1.0, devicePixelRatioF());
    const double pixelsPerUnit = screenScale().scaleDiag * statusPixelRatio_;
    const Rect& area = pageOnScreen().statusRect;
    statusImage_ = QImage(std::max(1, static_cast<int>(std::ceil(area.width() * pixelsPerUnit))),
                          std::max(1, static_cast<int>(std::ceil(area.height() * pixelsPerUnit))),
                          QImage::Format_RGB32);
    statusImage_.fill(Qt::white);
    statusSurface_->setScale(pixelsPerUnit);
}

void MainWindow::applyScale() {
    const int pageHeight = std::max(1, height() - footHeight_);
    const double factor = fixedScale_ ? *fixedScale_
                                      : (fit_ == PageFit::Fit ? fittingScale(width(), pageHeight)
                                                              : 1.0);
    const ScreenScale wanted = centredScale(factor, width(), pageHeight);
    ScreenScale& scale = screenScale();
    const bool same = wanted.scaleDiag == scale.scaleDiag && wanted.originX == scale.originX &&
                      wanted.originY == scale.originY && statusImage_.width() > 0 &&
                      statusPixelRatio_ == std::max(1.0, devicePixelRatioF());
    if (same)
        return;
    scale = wanted;

    for (const ButtonPlace& place : kButtons)
        placeWidget(buttons_.at(place.id), place.onPage());
    placeFeedbackPanel();
    makeStatusImage();
    if (statusIsStrip_)
        drawPageStrip();
    else if (statusDrawn_)
        paintStatusText(
            *statusSurface_,
            Rect{0, 0, pageOnScreen().statusRect.width(), pageOnScreen().statusRect.height()},
            statusText_);
    for (Display* display : shownDisplays()) {
        if (!display->window)
            continue;
        display->window->rescale();
        display->needsRepaint = 1;
    }
    update();
}

void MainWindow::setFixedPageScale(std::optional<double> factor) {
    fixedScale_ = factor;
    applyScale();
}

void MainWindow::setFootHeight(int pixels) {
    footHeight_ = std::max(0, pixels);
    applyScale();
}

PageChoice MainWindow::pageChoice() const {
    return PageChoice{fit_, isFullScreen()};
}

void MainWindow::applyPageChoice(const PageChoice& choice) {
    fit_ = choice.fit;
    if (choice.fullScreen && !isFullScreen())
        showFullScreen();
    else if (!choice.fullScreen && isFullScreen())
        showMaximized();
    applyScale();
}

void MainWindow::changePageChoice(const PageChoice& choice) {
    applyPageChoice(choice);
    if (pageChoiceHandler_)
        pageChoiceHandler_(pageChoice());
}

bool MainWindow::pageKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    PageChoice choice = pageChoice();
    if (key == Qt::Key_F11 && !control) {
        choice.fullScreen = !choice.fullScreen;
    } else if (control && key == Qt::Key_0) {
        choice.fit = PageFit::Actual;
    } else if (control && (key == Qt::Key_Equal || key == Qt::Key_Plus)) {
        choice.fit = PageFit::Fit;
    } else {
        return false;
    }
    changePageChoice(choice);
    return true;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyScale();
}

void MainWindow::showStatusImage(bool now) {
    statusDrawn_ = true;
    if (!isVisible())
        return;
    // A repaint at once paints everything else waiting too, the windows of a page half built
    // among them: only the status text, which says what the program is busy with before it
    // is done, goes out at once.
    if (now)
        repaint(statusArea());
    else
        update(statusArea());
}

void MainWindow::drawStatusText(std::string_view text) {
    statusText_ = std::string(text);
    statusIsStrip_ = false;
    const Rect& area = pageOnScreen().statusRect;
    paintStatusText(*statusSurface_, Rect{0, 0, area.width(), area.height()}, text);
    showStatusImage(true);
}

void MainWindow::drawPageStrip() {
    if (lesson().currentPage() < 1)
        return;
    statusIsStrip_ = true;
    // Picked for the page, which is then scaled to the screen whole: markers picked for the
    // real screen would be enlarged twice. At the scale that fits the page to a screen of 640
    // or 1024 pixels, these have the sizes of the pairs picked there.
    const PageMarkers markers = pageMarkers(kPageWidth);
    const Rect& area = pageOnScreen().statusRect;
    paintPageStrip(*statusSurface_, Rect{0, 0, area.width(), area.height()},
                   picture(markers.reached), picture(markers.ahead));
    showStatusImage(false);
    // The strip is drawn once for every page shown: what it shows is said too.
    announce("Page " + std::to_string(lesson().currentPage()) + " of " +
             std::to_string(lesson().pageCount));
}

void MainWindow::announce(std::string_view text) {
    announcer_->say(text);
}

const Picture& MainWindow::picture(PictureId id) {
    static const Picture none;
    auto it = pictures_.find(id);
    return it == pictures_.end() ? none : it->second;
}

std::unique_ptr<ChildWindow> MainWindow::createDisplayWindow(Display*, int id, const Rect& rect) {
    // Made hidden, so that the buttons and fields of its items appear with it at once: a control
    // shown on a shown window asks the window system where the pointer is, a round trip each.
    return createQtChildWindow(this, id, rect, displayWindowProc(), false);
}

void MainWindow::enableNoteButton() {
    button(CommandId::Note)->setEnabled(true);
}

void MainWindow::restoreWindow() {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    update();
}

void MainWindow::discardPendingInput() {
    // A zero timer fires once the events waiting in the window system's queue have been
    // handled: the input among them is dropped until then.
    discardingInput_ = true;
    const unsigned round = ++discardRound_;
    QTimer::singleShot(0, this, [this, round] {
        if (round == discardRound_)
            discardingInput_ = false;
    });
}

void MainWindow::destroyWindow() {
    controllerTimer_.stop();
    hide();
    destroyed_ = true;
    if (exitHandler_) {
        exitHandler_();
        return;
    }
    QCoreApplication::exit(0);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // In a test lesson the page keys do nothing, and Alt+A and Alt+B are those keys too: the
    // mnemonics of "&Ahead >" and "< &Back" must not turn the page for them.
    if (event->type() == QEvent::Shortcut && lesson().testLesson &&
        (watched == button(CommandId::Ahead) || watched == button(CommandId::Back)))
        return true;
    if (!discardingInput_ || !isInputEvent(event->type()) || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    return widget == this || isAncestorOf(widget);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == kControllerEvent) {
        // Dropped while a page is built, as every message of the main window is then.
        if (!pageOnScreen().pageBuilding) {
            auto* message = static_cast<ControllerEvent*>(event);
            controller_.handleState(message->code, message->page);
        }
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The page's size and the full screen are the window's own keys, not the lesson's.
        if (pageKey(key->key(), key->modifiers()))
            return true;
        // Every other key is the keyboard layer's or the controller's: none goes on to
        // default handling. A key pressed in the pause after a wrong answer only ends the
        // pause.
        if (!pageOnScreen().pageBuilding) {
            const bool backTab = key->key() == Qt::Key_Backtab;
            const VirtualKey code =
                backTab ? VirtualKey::Tab : virtualKeyCode(key->key(), key->modifiers());
            const bool shift = backTab || key->modifiers().testFlag(Qt::ShiftModifier);
            if (pageOnScreen().wrongWaitStart != 0 || !keyboard_.keyDown(code, shift))
                controller_.keyDown(code);
        }
        return true;
    }
    if (event->type() == QEvent::KeyRelease)
        return true;
    const bool handled = QWidget::event(event);
    // On a screen of another pixel density the pictures are made again at its resolution.
    if (event->type() == QEvent::ScreenChangeInternal)
        applyScale();
    return handled;
}

void MainWindow::paintEvent(QPaintEvent*) {
    if (!statusDrawn_)
        return;
    QPainter painter(this);
    const QRectF shown(statusArea().topLeft(), QSizeF(statusImage_.width() / statusPixelRatio_,
                                                      statusImage_.height() / statusPixelRatio_));
    painter.drawImage(shown, statusImage_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The window goes only through the fatal exit.
    event->ignore();
    if (pageOnScreen().pageBuilding || destroyed_)
        return;
    controller_.closeRequested();
}

void MainWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() != controllerTimer_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    if (pageOnScreen().pageBuilding)
        return;
    controller_.tick();
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    // The right button is swallowed; nothing else is done with clicks on the window itself.
    event->accept();
}

} // namespace lorvenna

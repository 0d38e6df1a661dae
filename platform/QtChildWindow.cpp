// Display windows as Qt widgets: a bordered frame around a client that shows the display's
// picture and overlay, hands mouse input, control notifications and timer ticks to the
// window procedure, and never takes the keyboard focus.
#include "platform/QtChildWindow.h"

#include "platform/Cursors.h"
#include "platform/QtAccessibility.h"
#include "platform/QtSurface.h"
#include "platform/QtText.h"
#include "platform/ScreenScale.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace lorvenna {

namespace {

constexpr int kBorder = 1;

class QtChildWindow;

// A control's place on the page, kept with its widget so that a new scale places it anew.
const char* const kPlaceProperty = "lorvennaPlace";

Rect placedAt(const QWidget* widget) {
    const QRect r = widget->property(kPlaceProperty).toRect();
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// Puts a control at its place on the page, in the window's pixels and with a font to match.
void placeControl(QWidget* widget) {
    const Rect place = scaleRect(placedAt(widget));
    widget->setGeometry(place.left, place.top, place.width(), place.height());
    setScaledFont(widget);
}

void placeControl(QWidget* widget, const Rect& rect) {
    widget->setProperty(kPlaceProperty, QRect(rect.left, rect.top, rect.width(), rect.height()));
    placeControl(widget);
}

// The client area: paints the picture and overlay and passes the mouse to the window.
class ClientWidget : public QWidget {
public:
    ClientWidget(QtChildWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
        setFocusPolicy(Qt::NoFocus);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    bool painting() const { return painting_; }
    QtChildWindow& childWindow() const { return window_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QtChildWindow& window_;
    bool painting_ = false;
};

// A push button: a press is notification code 0.
class ButtonControl : public Control {
public:
    ButtonControl(int id, QPushButton* button) : id_(id), button_(button) {}
    ~ButtonControl() override {
        if (button_)
            delete button_.data();
    }
    int id() const override { return id_; }
    QWidget* widget() const { return button_.data(); }
    void show(bool visible) override {
        if (button_)
            button_->setVisible(visible);
    }
    bool isVisible() const override { return button_ && !button_->isHidden(); }
    void invalidate() override {
        if (button_)
            button_->update();
    }
    void setText(std::string_view text) override {
        if (!button_)
            return;
        button_->setText(toQString(text));
        button_->setShortcut(QKeySequence());
    }
    std::string text(int maxBytes) const override {
        if (!button_ || maxBytes <= 0)
            return {};
        std::string bytes = fromQString(button_->text());
        bytes.resize(utf8CutLength(bytes, static_cast<std::size_t>(maxBytes - 1)));
        return bytes;
    }
    void setFocus() override {
        if (button_)
            button_->setFocus(Qt::OtherFocusReason);
    }
    Rect geometry() const override { return button_ ? placedAt(button_) : Rect{}; }

private:
    int id_;
    QPointer<QPushButton> button_;
};

bool leavesField(const QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
           key->key() == Qt::Key_Escape;
}

// A multi-line edit field that reports gaining the focus.
class EditWidget : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    std::function<void()> onFocus;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusInEvent(event);
        if (onFocus)
            onFocus();
    }
    // Every key typed into the field stays with it: one the field has no use for (F2, Ctrl+Q)
    // would otherwise go on to the main window, whose keys score the lesson and quit. Only
    // the keys that leave the field go to the window: Tab, Shift+Tab and Escape.
    bool event(QEvent* event) override {
        if (event->type() == QEvent::KeyPress && leavesField(static_cast<QKeyEvent*>(event))) {
            if (QWidget* top = window(); top != this)
                QCoreApplication::sendEvent(top, event);
            return true;
        }
        return QPlainTextEdit::event(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        QPlainTextEdit::keyPressEvent(event);
        event->accept();
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        QPlainTextEdit::keyReleaseEvent(event);
        event->accept();
    }
};

// An edit field: gaining the focus is code 0x100, each change the user makes code 0x400.
// Its text is seen with CR LF line breaks, as the platform's edit fields give them.
class EditControl : public Control {
public:
    EditControl(int id, EditWidget* edit) : id_(id), edit_(edit) {}
    ~EditControl() override {
        if (edit_)
            delete edit_.data();
    }
    int id() const override { return id_; }
    QWidget* widget() const { return edit_.data(); }
    void show(bool visible) override {
        if (edit_)
            edit_->setVisible(visible);
    }
    bool isVisible() const override { return edit_ && !edit_->isHidden(); }
    void invalidate() override {
        if (edit_)
            edit_->viewport()->update();
    }
    void setText(std::string_view text) override {
        if (!edit_)
            return;
        // Text put in by the program is not typed input: nothing is reported.
        const QSignalBlocker quiet(edit_.data());
        edit_->setPlainText(editText(text));
        edit_->moveCursor(QTextCursor::End);
    }
    std::string text(int maxBytes) const override {
        if (!edit_ || maxBytes <= 0)
            return {};
        std::string bytes;
        const QByteArray plain = edit_->toPlainText().toUtf8();
        const std::size_t limit = static_cast<std::size_t>(maxBytes - 1);
        for (char c : plain) {
            if (c == '\n') {
                if (bytes.size() < limit)
                    bytes += '\r';
            }
            if (bytes.size() >= limit)
                break;
            bytes += c;
        }
        bytes.resize(utf8CutLength(bytes, bytes.size()));
        return bytes;
    }
    void setFocus() override {
        if (edit_)
            edit_->setFocus(Qt::OtherFocusReason);
    }
    Rect geometry() const override { return edit_ ? placedAt(edit_) : Rect{}; }

    // CR LF, lone CR and lone LF all become the field's line break.
    static QString editText(std::string_view text) {
        std::string plain;
        plain.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') {
                plain += '\n';
                if (i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
                continue;
            }
            plain += text[i];
        }
        return toQString(plain);
    }

private:
    int id_;
    QPointer<EditWidget> edit_;
};

// The keys of a scroll bar with the keyboard focus: the arrow keys move a line, Page Up and
// Page Down a page, Home and End go to the ends, whatever the bar's direction.
struct ScrollKey {
    int key;
    QAbstractSlider::SliderAction action;
};
constexpr ScrollKey kScrollKeys[] = {
    {Qt::Key_Left, QAbstractSlider::SliderSingleStepSub},
    {Qt::Key_Up, QAbstractSlider::SliderSingleStepSub},
    {Qt::Key_Right, QAbstractSlider::SliderSingleStepAdd},
    {Qt::Key_Down, QAbstractSlider::SliderSingleStepAdd},
    {Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub},
    {Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd},
    {Qt::Key_Home, QAbstractSlider::SliderToMinimum},
    {Qt::Key_End, QAbstractSlider::SliderToMaximum},
};

// A scroll bar takes the arrows, the trough, the thumb and the keys; the wheel is no input
// of its own, and it has no menu: the toolkit's "Scroll here" would move the thumb behind
// the item's back, with nothing sent.
class ScrollBarWidget : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
    void contextMenuEvent(QContextMenuEvent* event) override { event->accept(); }
    // The toolkit turns a horizontal bar's arrow keys round; the table keeps them plain.
    void keyPressEvent(QKeyEvent* event) override {
        for (const ScrollKey& entry : kScrollKeys) {
            if (entry.key == event->key()) {
                triggerAction(entry.action);
                return;
            }
        }
        event->ignore();
    }
};

// The scroll requests of the bar's actions. Dragging the thumb is ThumbTrack; the same
// action with the thumb let go (putting back a move nobody took) ends the scroll.
struct ScrollAction {
    QAbstractSlider::SliderAction action;
    ScrollRequest request;
};
constexpr ScrollAction kScrollActions[] = {
    {QAbstractSlider::SliderSingleStepSub, ScrollRequest::LineUp},
    {QAbstractSlider::SliderSingleStepAdd, ScrollRequest::LineDown},
    {QAbstractSlider::SliderPageStepSub, ScrollRequest::PageUp},
    {QAbstractSlider::SliderPageStepAdd, ScrollRequest::PageDown},
    {QAbstractSlider::SliderToMinimum, ScrollRequest::Top},
    {QAbstractSlider::SliderToMaximum, ScrollRequest::Bottom},
    {QAbstractSlider::SliderMove, ScrollRequest::ThumbTrack},
};

class ScrollBarControl : public Control {
public:
    ScrollBarControl(int id, ScrollBarWidget* bar) : id_(id), bar_(bar) {}
    ~ScrollBarControl() override {
        if (bar_)
            delete bar_.data();
    }
    int id() const override { return id_; }
    QWidget* widget() const { return bar_.data(); }
    void show(bool visible) override {
        if (bar_)
            bar_->setVisible(visible);
    }
    bool isVisible() const override { return bar_ && !bar_->isHidden(); }
    void invalidate() override {
        if (bar_)
            bar_->update();
    }
    void setText(std::string_view) override {}
    std::string text(int) const override { return {}; }
    void setFocus() override {
        if (bar_)
            bar_->setFocus(Qt::OtherFocusReason);
    }
    Rect geometry() const override { return bar_ ? placedAt(bar_) : Rect{}; }
    void setScrollInfo(int minimum, int maximum, int position) override {
        if (!bar_)
            return;
        bar_->setRange(minimum, maximum);
        // A held thumb stays under the pointer; its move is taken when it is let go.
        if (!bar_->isSliderDown())
            bar_->setValue(position);
    }
    int scrollPosition() const override { return bar_ ? bar_->value() : 0; }
    int trackPosition() const override { return bar_ ? bar_->sliderPosition() : 0; }

private:
    int id_;
    QPointer<ScrollBarWidget> bar_;
};

class QtChildWindow : public ChildWindow {
public:
    QtChildWindow(QWidget* parent, int id, const Rect& rect, ChildWindowProc* proc, bool shown)
        : id_(id), proc_(proc) {
        const int width = std::max(rect.width(), 2 * kBorder);
        const int height = std::max(rect.height(), 2 * kBorder);
        place_ = Rect{rect.left, rect.top, rect.left + width, rect.top + height};
        clientWidth_ = width - 2 * kBorder;
        clientHeight_ = height - 2 * kBorder;

        frame_ = new QFrame(parent);
        frame_->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame_->setFocusPolicy(Qt::NoFocus);
        client_ = new ClientWidget(*this, frame_);
        client_->setCursor(Qt::ArrowCursor);
        layOut();
        if (shown)
            frame_->show();
    }

    // The frame, client and picture at the screen's scale; the picture as many pixels as the
    // screen shows there, at its pixel density.
    void layOut() {
        const Rect frame = placeOnWindow(place_);
        const int border = std::max(kBorder, scaleSize(kBorder));
        frame_->setLineWidth(border);
        frame_->setFixedSize(frame.width(), frame.height());
        frame_->setGeometry(frame.left, frame.top, frame.width(), frame.height());
        const int clientWidth = std::max(frame.width() - 2 * border, 1);
        const int clientHeight = std::max(frame.height() - 2 * border, 1);
        client_->setFixedSize(clientWidth, clientHeight);
        client_->setGeometry(border, border, clientWidth, clientHeight);

        pixelRatio_ = std::max(1.0, frame_->devicePixelRatioF());
        const double pixelsPerUnit = screenScale().scaleDiag * pixelRatio_;
        // Every pixel of the client shows the picture: where the page's edge falls inside a
        // pixel, the picture reaches to the client's edge.
        const auto pixels = [pixelsPerUnit, this](int units, int shown) {
            return std::max({1, static_cast<int>(std::ceil(units * pixelsPerUnit)),
                             static_cast<int>(std::ceil(shown * pixelRatio_))});
        };
        image_ = QImage(pixels(clientWidth_, clientWidth), pixels(clientHeight_, clientHeight),
                        QImage::Format_RGB32);
        image_.fill(Qt::white);
        clearOverlayPixels();
        if (!imageSurface_) {
            imageSurface_ = std::make_unique<QtSurface>(&image_);
            // Every repaint draws the picture whole: what it draws as before stays as it is.
            imageSurface_->setRetained(true);
            screenSurface_ = std::make_unique<QtSurface>(&overlay_, &image_);
            // The overlay is as large as the picture only while something is drawn on it.
            screenSurface_->setBeforeDrawing([this] {
                if (overlay_.size() == image_.size())
                    return;
                overlay_ = QImage(image_.size(), QImage::Format_ARGB32_Premultiplied);
                overlay_.fill(Qt::transparent);
            });
        }
        imageSurface_->setScale(pixelsPerUnit);
        screenSurface_->setScale(pixelsPerUnit);
        screenSurface_->markBlank();
    }

    void rescale() override {
        if (!frame_ || !client_)
            return;
        layOut();
        for (QWidget* control : client_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            placeControl(control);
        placeFocusRing(ring_, ringKey_ ? scaleRect(ringRect_) : Rect{});
        present();
    }

    ~QtChildWindow() override {
        timers_.clear();
        if (frame_)
            delete frame_.data();
    }

    ChildWindowProc* proc() const { return proc_; }
    QWidget* client() const { return client_.data(); }
    // The picture, and the overlay over it when anything is drawn there: blending a clear
    // overlay over every pixel would cost a paint as much as the picture itself.
    void paintInto(QPainter& painter) const {
        const bool marks = screenSurface_->drawnOn();
        if (pixelRatio_ == 1.0) {
            painter.drawImage(QPoint(0, 0), image_);
            if (marks)
                painter.drawImage(QPoint(0, 0), overlay_);
            return;
        }
        // Pixel for pixel of the screen, at its density.
        const QRectF shown(0, 0, image_.width() / pixelRatio_, image_.height() / pixelRatio_);
        painter.drawImage(shown, image_);
        if (marks)
            painter.drawImage(shown, overlay_);
    }

    int id() const override { return id_; }
    Rect clientRect() const override { return Rect{0, 0, clientWidth_, clientHeight_}; }
    void setUserData(void* data) override { userData_ = data; }
    void* userData() const override { return userData_; }

    Surface& imageSurface() override { return *imageSurface_; }
    Surface& screenSurface() override { return *screenSurface_; }
    void clearOverlay() override {
        if (!screenSurface_->drawnOn())
            return;
        clearOverlayPixels();
        screenSurface_->markBlank();
    }
    void present() override {
        if (client_ && !client_->painting())
            client_->update();
    }
    void show() override {
        if (frame_)
            frame_->show();
    }

    std::unique_ptr<Control> createButton(int id, const Rect& rect,
                                          std::string_view caption) override {
        if (!client_)
            return nullptr;
        auto* button = new QPushButton(toQString(caption), client_);
        // The caption's '&' underlines a letter, but Alt with that letter stays with the main
        // window's own buttons: a display is no dialog.
        button->setShortcut(QKeySequence());
        // The keyboard stays with the main window: a button pressed while an answer pause
        // runs (when nobody hands the focus back) must not keep it for Space to press later.
        button->setFocusPolicy(Qt::NoFocus);
        placeControl(button, rect);
        const unsigned word = notificationWord(kNotifyClicked, id);
        QObject::connect(button, &QPushButton::clicked, button, [this, word] {
            if (proc_)
                proc_->controlNotification(*this, word);
        });
        button->show();
        return std::make_unique<ButtonControl>(id, button);
    }

    std::unique_ptr<Control> createEdit(int id, const Rect& rect, std::string_view text) override {
        if (!client_)
            return nullptr;
        auto* edit = new EditWidget(client_);
        placeControl(edit, rect);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setPlainText(EditControl::editText(text));
        edit->moveCursor(QTextCursor::End);
        const unsigned focusWord = notificationWord(kNotifySetFocus, id);
        const unsigned changeWord = notificationWord(kNotifyChanged, id);
        edit->onFocus = [this, focusWord] {
            if (proc_)
                proc_->controlNotification(*this, focusWord);
        };
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this, changeWord] {
            if (proc_)
                proc_->controlNotification(*this, changeWord);
        });
        edit->show();
        return std::make_unique<EditControl>(id, edit);
    }

    std::unique_ptr<Control> createScrollBar(int id, const Rect& rect, bool vertical) override {
        if (!client_)
            return nullptr;
        auto* bar = new ScrollBarWidget(vertical ? Qt::Vertical : Qt::Horizontal, client_);
        placeControl(bar, rect);
        // The keyboard stays with the main window, as for the buttons.
        bar->setFocusPolicy(Qt::NoFocus);
        // The value moves only when the item takes a request, never with the dragged thumb.
        bar->setTracking(false);
        // A page of 0 positions: the thumb is the small one of fixed size, whatever the range.
        bar->setPageStep(0);
        auto control = std::make_unique<ScrollBarControl>(id, bar);
        Control* handle = control.get();
        QObject::connect(bar, &QAbstractSlider::actionTriggered, bar,
                         [this, bar, handle](int action) {
                             for (const ScrollAction& entry : kScrollActions) {
                                 if (entry.action != action)
                                     continue;
                                 ScrollRequest request = entry.request;
                                 if (request == ScrollRequest::ThumbTrack && !bar->isSliderDown())
                                     request = ScrollRequest::EndScroll;
                                 if (proc_)
                                     proc_->scrollRequest(*this, request, handle);
                                 return;
                             }
                         });
        QObject::connect(bar, &QAbstractSlider::sliderMoved, bar, [this, handle] {
            if (proc_)
                proc_->scrollRequest(*this, ScrollRequest::ThumbTrack, handle);
        });
        QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [this, handle] {
            if (proc_)
                proc_->scrollRequest(*this, ScrollRequest::ThumbPosition, handle);
        });
        bar->show();
        return control;
    }

    void startTimer(const void* key, int milliseconds) override {
        std::unique_ptr<QTimer>& timer = timers_[key];
        if (!timer) {
            timer = std::make_unique<QTimer>();
            QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, key] {
                if (proc_)
                    proc_->timer(*this, key);
            });
        }
        timer->start(std::max(milliseconds, kShortestTimerPeriod));
    }

    void stopTimer(const void* key) override { timers_.erase(key); }

    bool timerRunning(const void* key) const override {
        const auto it = timers_.find(key);
        return it != timers_.end() && it->second->isActive();
    }

    void setFocusRing(const void* key, const Rect& rect) override {
        if (!client_)
            return;
        if (!ring_)
            ring_ = createFocusRing(client_);
        ringKey_ = key;
        ringRect_ = rect;
        placeFocusRing(ring_, key ? scaleRect(rect) : Rect{});
        if (key)
            reportFocus(*this, key);
    }
    const void* focusRingKey() const override { return ringKey_; }

    void setPointCursor(bool point) override {
        if (!client_)
            return;
        if (point)
            client_->setCursor(pointCursor());
        else
            client_->setCursor(Qt::ArrowCursor);
    }

    // Tests: the Qt timer behind a key, to fire it without waiting.
    QTimer* timerOf(const void* key) const {
        const auto it = timers_.find(key);
        return it == timers_.end() ? nullptr : it->second.get();
    }

private:
    int id_;
    ChildWindowProc* proc_;
    Rect place_; // on the page, border included
    double pixelRatio_ = 1.0;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    void* userData_ = nullptr;
    QImage image_;
    QImage overlay_;
    // A clear overlay of one pixel: what is drawn on it makes it as large as the picture.
    void clearOverlayPixels() {
        overlay_ = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
        overlay_.fill(Qt::transparent);
    }
    std::unique_ptr<QtSurface> imageSurface_;
    std::unique_ptr<QtSurface> screenSurface_;
    QPointer<QFrame> frame_;
    QPointer<ClientWidget> client_;
    std::map<const void*, std::unique_ptr<QTimer>> timers_;
    QPointer<QWidget> ring_;
    const void* ringKey_ = nullptr;
    Rect ringRect_; // on the page
};

void ClientWidget::paintEvent(QPaintEvent*) {
    painting_ = true;
    if (ChildWindowProc* proc = window_.proc())
        proc->paint(window_);
    QPainter painter(this);
    window_.paintInto(painter);
    painting_ = false;
}

void ClientWidget::mouseMoveEvent(QMouseEvent* event) {
    const Point at = unscalePoint(event->position().x(), event->position().y());
    if (ChildWindowProc* proc = window_.proc())
        proc->mouseMove(window_, at.x, at.y);
}

void ClientWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // Taken back to page units: the items hit-test where the page was clicked.
    const Point at = unscalePoint(event->position().x(), event->position().y());
    if (ChildWindowProc* proc = window_.proc())
        proc->leftButtonDown(window_, at.x, at.y);
}

} // namespace

void setScaledFont(QWidget* widget) {
    // At 1.0 the widget keeps the font it inherits: a font of its own costs every new control
    // a round of font resolution.
    if (screenScale().scaleDiag == 1.0) {
        if (widget->testAttribute(Qt::WA_SetFont))
            widget->setFont(QFont());
        return;
    }
    widget->setFont(scaledApplicationFont());
}

QFont scaledApplicationFont() {
    QFont font = QGuiApplication::font();
    const double factor = screenScale().scaleDiag;
    if (factor == 1.0)
        return font;
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * factor)));
    return font;
}

std::unique_ptr<ChildWindow> createQtChildWindow(QWidget* parent, int id, const Rect& rect,
                                                 ChildWindowProc* proc, bool shown) {
    installDisplayAccessibility();
    return std::make_unique<QtChildWindow>(parent, id, rect, proc, shown);
}

QWidget* widgetOf(ChildWindow& window) {
    auto* qt = dynamic_cast<QtChildWindow*>(&window);
    return qt ? qt->client() : nullptr;
}

QTimer* timerOf(ChildWindow& window, const void* key) {
    auto* qt = dynamic_cast<QtChildWindow*>(&window);
    return qt ? qt->timerOf(key) : nullptr;
}

ChildWindow* childWindowOfClient(const QObject* object) {
    const auto* client = dynamic_cast<const ClientWidget*>(object);
    return client ? &client->childWindow() : nullptr;
}

ChildWindowProc* windowProcOf(ChildWindow& window) {
    auto* qt = dynamic_cast<QtChildWindow*>(&window);
    return qt ? qt->proc() : nullptr;
}

QWidget* widgetOfControl(const Control* control) {
    if (const auto* button = dynamic_cast<const ButtonControl*>(control))
        return button->widget();
    if (const auto* edit = dynamic_cast<const EditControl*>(control))
        return edit->widget();
    if (const auto* bar = dynamic_cast<const ScrollBarControl*>(control))
        return bar->widget();
    return nullptr;
}

} // namespace lorvenna

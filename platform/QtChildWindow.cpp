// Display windows as Qt widgets: a bordered frame around a client that shows the display's
// picture and overlay, hands mouse input, control notifications and timer ticks to the
// window procedure, and never takes the keyboard focus.
#include "platform/QtChildWindow.h"

#include "platform/Cursors.h"
#include "platform/QtAccessibility.h"
#include "platform/QtSurface.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFrame>
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
#include <functional>
#include <map>

namespace lorvenna {

namespace {

constexpr int kBorder = 1;

class QtChildWindow;

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
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
        button_->setText(latin1(text));
        button_->setShortcut(QKeySequence());
    }
    std::string text(int maxBytes) const override {
        if (!button_ || maxBytes <= 0)
            return {};
        std::string bytes = button_->text().toLatin1().toStdString();
        if (bytes.size() > static_cast<std::size_t>(maxBytes - 1))
            bytes.resize(static_cast<std::size_t>(maxBytes - 1));
        return bytes;
    }
    void setFocus() override {
        if (button_)
            button_->setFocus(Qt::OtherFocusReason);
    }
    Rect geometry() const override {
        if (!button_)
            return {};
        const QRect g = button_->geometry();
        return Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }

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
        const QByteArray plain = edit_->toPlainText().toLatin1();
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
        return bytes;
    }
    void setFocus() override {
        if (edit_)
            edit_->setFocus(Qt::OtherFocusReason);
    }
    Rect geometry() const override {
        if (!edit_)
            return {};
        const QRect g = edit_->geometry();
        return Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }

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
        return latin1(plain);
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
    Rect geometry() const override {
        if (!bar_)
            return {};
        const QRect g = bar_->geometry();
        return Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
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
        clientWidth_ = width - 2 * kBorder;
        clientHeight_ = height - 2 * kBorder;

        image_ =
            QImage(std::max(clientWidth_, 1), std::max(clientHeight_, 1), QImage::Format_RGB32);
        image_.fill(Qt::white);
        overlay_ = QImage(image_.size(), QImage::Format_ARGB32_Premultiplied);
        overlay_.fill(Qt::transparent);
        imageSurface_ = std::make_unique<QtSurface>(&image_);
        screenSurface_ = std::make_unique<QtSurface>(&overlay_, &image_);

        frame_ = new QFrame(parent);
        frame_->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame_->setLineWidth(kBorder);
        frame_->setFocusPolicy(Qt::NoFocus);
        frame_->setGeometry(rect.left, rect.top, width, height);
        frame_->setFixedSize(width, height);
        client_ = new ClientWidget(*this, frame_);
        client_->setGeometry(kBorder, kBorder, clientWidth_, clientHeight_);
        client_->setFixedSize(clientWidth_, clientHeight_);
        client_->setCursor(Qt::ArrowCursor);
        if (shown)
            frame_->show();
    }

    ~QtChildWindow() override {
        timers_.clear();
        if (frame_)
            delete frame_.data();
    }

    ChildWindowProc* proc() const { return proc_; }
    QWidget* client() const { return client_.data(); }
    void paintInto(QPainter& painter) const {
        painter.drawImage(QPoint(0, 0), image_);
        painter.drawImage(QPoint(0, 0), overlay_);
    }

    int id() const override { return id_; }
    Rect clientRect() const override { return Rect{0, 0, clientWidth_, clientHeight_}; }
    void setUserData(void* data) override { userData_ = data; }
    void* userData() const override { return userData_; }

    Surface& imageSurface() override { return *imageSurface_; }
    Surface& screenSurface() override { return *screenSurface_; }
    void clearOverlay() override { overlay_.fill(Qt::transparent); }
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
        auto* button = new QPushButton(latin1(caption), client_);
        // The caption's '&' underlines a letter, but Alt with that letter stays with the main
        // window's own buttons: a display is no dialog.
        button->setShortcut(QKeySequence());
        // The keyboard stays with the main window: a button pressed while an answer pause
        // runs (when nobody hands the focus back) must not keep it for Space to press later.
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(rect.left, rect.top, rect.width(), rect.height());
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
        edit->setGeometry(rect.left, rect.top, rect.width(), rect.height());
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
        bar->setGeometry(rect.left, rect.top, rect.width(), rect.height());
        // The keyboard stays with the main window, as for the buttons.
        bar->setFocusPolicy(Qt::NoFocus);
        // The value moves only when the item takes a request, never with the dragged thumb.
        bar->setTracking(false);
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
        placeFocusRing(ring_, key ? rect : Rect{});
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
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    void* userData_ = nullptr;
    QImage image_;
    QImage overlay_;
    std::unique_ptr<QtSurface> imageSurface_;
    std::unique_ptr<QtSurface> screenSurface_;
    QPointer<QFrame> frame_;
    QPointer<ClientWidget> client_;
    std::map<const void*, std::unique_ptr<QTimer>> timers_;
    QPointer<QWidget> ring_;
    const void* ringKey_ = nullptr;
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
    const QPoint at = event->position().toPoint();
    if (ChildWindowProc* proc = window_.proc())
        proc->mouseMove(window_, at.x(), at.y());
}

void ClientWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (ChildWindowProc* proc = window_.proc())
        proc->leftButtonDown(window_, at.x(), at.y());
}

} // namespace

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

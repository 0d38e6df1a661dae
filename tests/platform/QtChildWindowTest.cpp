// Display windows as real offscreen widgets: geometry, painting, mouse, controls and timers.
#include "platform/QtChildWindow.h"

#include "platform/Region.h"
#include "platform/Surface.h"

#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lorvenna {

namespace {

// Writes down every message the window passes on.
class RecordingProc : public ChildWindowProc {
public:
    void paint(ChildWindow& window) override {
        ++paints;
        if (drawOnPaint) {
            window.imageSurface().fillRect({0, 0, 10, 10}, Color{0, 0, 255});
            window.present(); // must not start another paint
        }
    }
    void controlNotification(ChildWindow&, unsigned notification) override {
        commands.push_back(notification);
        if (onCommand)
            onCommand(notification);
    }
    void timer(ChildWindow& window, const void* key) override {
        ticks.push_back(key);
        if (onTimer)
            onTimer(window, key);
    }
    void scrollRequest(ChildWindow&, ScrollRequest, Control*) override {}
    void mouseMove(ChildWindow&, int x, int y) override { moves.push_back({x, y}); }
    void leftButtonDown(ChildWindow&, int x, int y) override { presses.push_back({x, y}); }

    int paints = 0;
    bool drawOnPaint = false;
    std::vector<unsigned> commands;
    std::function<void(unsigned)> onCommand;
    std::vector<const void*> ticks;
    std::function<void(ChildWindow&, const void*)> onTimer;
    std::vector<Point> moves;
    std::vector<Point> presses;
};

void click(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

void typeKey(QWidget* widget, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &release);
}

// The edit field receives the focus as it would from the window system.
void focus(QWidget* widget) {
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(widget, &in);
}

template <typename T> T* childOf(ChildWindow& window) {
    return widgetOf(window)->findChild<T*>();
}

// Starts the key's timer and lets it tick on the next pass of the event loop, without waiting
// for its period.
void startTicking(ChildWindow& window, const void* key) {
    window.startTimer(key, 0);
    timerOf(window, key)->setInterval(0);
}

} // namespace

TEST(QtChildWindow, TheClientIsTheWindowLessItsBorder) {
    RecordingProc proc;
    auto window = createQtChildWindow(nullptr, 812, {10, 20, 210, 120}, &proc);
    EXPECT_EQ(window->id(), 812);
    EXPECT_EQ(window->clientRect(), (Rect{0, 0, 198, 98}));

    QWidget* client = widgetOf(*window);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(client->size(), QSize(198, 98));
    auto* frame = qobject_cast<QFrame*>(client->parentWidget());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->size(), QSize(200, 100));
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize()) << "a display is never resized";
    // Keys stay with the main window.
    EXPECT_EQ(client->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(frame->focusPolicy(), Qt::NoFocus);

    int data = 0;
    window->setUserData(&data);
    EXPECT_EQ(window->userData(), &data);
}

TEST(QtChildWindow, PaintingAsksTheProcThenShowsPictureAndOverlay) {
    RecordingProc proc;
    proc.drawOnPaint = true;
    auto window = createQtChildWindow(nullptr, 1, {0, 0, 42, 32}, &proc);
    window->screenSurface().fillRect({20, 0, 30, 10}, Color{255, 0, 0});

    const QImage shown = widgetOf(*window)->grab().toImage();
    EXPECT_EQ(proc.paints, 1) << "present() while painting asks for no further paint";
    EXPECT_EQ(shown.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(25, 5), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(35, 20), qRgb(255, 255, 255));

    window->clearOverlay();
    proc.drawOnPaint = false;
    const QImage cleared = widgetOf(*window)->grab().toImage();
    EXPECT_EQ(cleared.pixel(25, 5), qRgb(255, 255, 255));
    EXPECT_EQ(cleared.pixel(5, 5), qRgb(0, 0, 255)) << "the picture stays";

    // A clear overlay is not laid over the picture; drawn on again, whether by a fill or an
    // inversion, it is.
    window->screenSurface().invertRegion(Region::rectangle({20, 0, 30, 10}));
    EXPECT_EQ(widgetOf(*window)->grab().toImage().pixel(25, 5), qRgb(0, 0, 0));
    window->clearOverlay();
    window->screenSurface().fillRect({0, 20, 10, 30}, Color{0, 255, 0});
    const QImage again = widgetOf(*window)->grab().toImage();
    EXPECT_EQ(again.pixel(5, 25), qRgb(0, 255, 0));
    EXPECT_EQ(again.pixel(25, 5), qRgb(255, 255, 255));
}

TEST(QtChildWindow, TheMouseReachesTheProcInClientCoordinates) {
    RecordingProc proc;
    auto window = createQtChildWindow(nullptr, 1, {100, 100, 300, 300}, &proc);
    QWidget* client = widgetOf(*window);
    EXPECT_TRUE(client->hasMouseTracking());

    QMouseEvent move(QEvent::MouseMove, QPointF(7, 9), QPointF(client->mapToGlobal(QPoint(7, 9))),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(client, &move);
    click(client, QPoint(15, 25));
    click(client, QPoint(30, 30), Qt::RightButton);

    EXPECT_EQ(proc.moves, std::vector<Point>{(Point{7, 9})});
    EXPECT_EQ(proc.presses, std::vector<Point>{(Point{15, 25})}) << "only the left button";
}

TEST(QtChildWindow, AButtonPressIsItsNotificationWord) {
    RecordingProc proc;
    auto window = createQtChildWindow(nullptr, 1, {0, 0, 300, 200}, &proc);
    auto control = window->createButton(815, {20, 30, 120, 56}, "&Next");
    ASSERT_TRUE(control);
    EXPECT_EQ(control->id(), 815);
    EXPECT_EQ(control->geometry(), (Rect{20, 30, 120, 56}));
    EXPECT_TRUE(control->isVisible());

    auto* button = childOf<QPushButton>(*window);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "&Next");
    EXPECT_TRUE(button->shortcut().isEmpty()) << "Alt+N belongs to the main window";
    window->present();
    QApplication::setActiveWindow(widgetOf(*window)->window());
    click(button, QPoint(10, 10));
    EXPECT_EQ(proc.commands, std::vector<unsigned>{815u});
    // The keyboard stays where it was: a button pressed during an answer pause, when the
    // press is not handed on, must not keep the focus for Space to press it again later.
    EXPECT_NE(QApplication::focusWidget(), button);

    control->show(false);
    EXPECT_FALSE(control->isVisible());
    control->show(true);
    EXPECT_TRUE(control->isVisible());
    EXPECT_EQ(control->text(4), "&Ne");
}

TEST(QtChildWindow, AnEditReportsFocusAndTypingButNotTextSetByTheProgram) {
    RecordingProc proc;
    auto window = createQtChildWindow(nullptr, 1, {0, 0, 300, 200}, &proc);
    auto control = window->createEdit(0x0330, {10, 10, 110, 40}, "12");
    ASSERT_TRUE(control);
    auto* edit = childOf<QPlainTextEdit>(*window);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(control->text(30), "12");
    EXPECT_TRUE(proc.commands.empty()) << "the initial text is no change";

    focus(edit);
    typeKey(edit, Qt::Key_5, "5");
    EXPECT_EQ(proc.commands, (std::vector<unsigned>{0x01000330u, 0x04000330u}));

    // Enter breaks the line, and the field's text shows it as CR LF.
    edit->moveCursor(QTextCursor::End);
    typeKey(edit, Qt::Key_Return, "\r");
    EXPECT_EQ(proc.commands.size(), 3u);
    EXPECT_EQ(control->text(30), "125\r\n");
    // Read as a fixed-size buffer would be: at most maxBytes - 1 bytes.
    EXPECT_EQ(control->text(5), "125\r");
    EXPECT_EQ(control->text(4), "125");

    control->setText("7\r\n8");
    control->setText("");
    EXPECT_EQ(proc.commands.size(), 3u);
    control->setText("1,5\r\n");
    EXPECT_EQ(edit->toPlainText(), "1,5\n");
    EXPECT_EQ(control->text(30), "1,5\r\n");
}

TEST(QtChildWindow, ProcCanPutTextBackWhileTheFieldReportsAChange) {
    RecordingProc proc;
    auto window = createQtChildWindow(nullptr, 1, {0, 0, 300, 200}, &proc);
    auto control = window->createEdit(900, {10, 10, 110, 40}, "");
    auto* edit = childOf<QPlainTextEdit>(*window);
    // As the number field does on Enter: read the text, then put the cleaned text back.
    proc.onCommand = [&](unsigned word) {
        if (word >> 16 != kNotifyChanged)
            return;
        const std::string typed = control->text(30);
        if (typed.find('\n') != std::string::npos)
            control->setText(typed.substr(0, typed.find('\r')));
    };
    typeKey(edit, Qt::Key_4, "4");
    typeKey(edit, Qt::Key_Return, "\r");
    EXPECT_EQ(control->text(30), "4");
    EXPECT_EQ(proc.commands.size(), 2u);
}

TEST(QtChildWindow, ControlsMayOutliveOrPrecedeTheirWindow) {
    RecordingProc proc;
    auto window = createQtChildWindow(nullptr, 1, {0, 0, 300, 200}, &proc);
    auto button = window->createButton(1, {0, 0, 50, 20}, "A");
    auto edit = window->createEdit(2, {0, 30, 50, 60}, "B");
    auto early = window->createButton(3, {60, 0, 110, 20}, "C");
    early.reset();
    EXPECT_EQ(widgetOf(*window)->findChildren<QPushButton*>().size(), 1);

    window.reset();
    // The widgets went with the window; the controls still answer safely.
    EXPECT_FALSE(button->isVisible());
    EXPECT_EQ(edit->text(30), "");
    button->setText("x");
    edit->setText("y");
    edit->setFocus();
    button.reset();
    edit.reset();
}

TEST(QtChildWindow, TimersTickToTheProcByKey) {
    RecordingProc proc;
    auto window = createQtChildWindow(nullptr, 1, {0, 0, 100, 100}, &proc);
    int first = 0;
    int second = 0;

    window->startTimer(&first, 0);
    EXPECT_EQ(timerOf(*window, &first)->interval(), kShortestTimerPeriod)
        << "a period of 0 would tick on every pass of the event loop";
    timerOf(*window, &first)->setInterval(0);
    window->startTimer(&second, 60000);
    EXPECT_TRUE(window->timerRunning(&first));
    EXPECT_TRUE(window->timerRunning(&second));
    QCoreApplication::processEvents();
    ASSERT_FALSE(proc.ticks.empty());
    for (const void* key : proc.ticks)
        EXPECT_EQ(key, &first);

    // Starting again replaces the running timer of that key.
    window->startTimer(&first, 300);
    ASSERT_NE(timerOf(*window, &first), nullptr);
    EXPECT_EQ(timerOf(*window, &first)->interval(), 300);
    EXPECT_EQ(widgetOf(*window)->findChildren<QTimer*>().size(), 0);

    window->stopTimer(&first);
    EXPECT_FALSE(window->timerRunning(&first));
    EXPECT_EQ(timerOf(*window, &first), nullptr);
    proc.ticks.clear();
    startTicking(*window, &second);
    QCoreApplication::processEvents();
    ASSERT_FALSE(proc.ticks.empty());
    EXPECT_EQ(proc.ticks.front(), &second);
    window->stopTimer(&second);
    window->stopTimer(&second); // stopping twice is harmless

    // An item may stop its own timer on a tick, or its tick may end the page and with it the
    // window: the timer that is ticking goes away under its own signal.
    proc.ticks.clear();
    proc.onTimer = [](ChildWindow& w, const void* key) { w.stopTimer(key); };
    startTicking(*window, &first);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(proc.ticks.size(), 1u);
    proc.onTimer = [&window](ChildWindow&, const void*) { window.reset(); };
    startTicking(*window, &second);
    QCoreApplication::processEvents();
    EXPECT_EQ(window, nullptr);
}

TEST(QtChildWindow, WithoutAProcEventsAreIgnored) {
    auto window = createQtChildWindow(nullptr, 1, {0, 0, 100, 100}, nullptr);
    auto control = window->createButton(5, {0, 0, 50, 20}, "A");
    click(childOf<QPushButton>(*window), QPoint(5, 5));
    click(widgetOf(*window), QPoint(70, 70));
    int key = 0;
    startTicking(*window, &key);
    QCoreApplication::processEvents();
    EXPECT_FALSE(widgetOf(*window)->grab().isNull());
}

TEST(QtChildWindow, ThePointCursorIsShownOnRequest) {
    auto window = createQtChildWindow(nullptr, 1, {0, 0, 100, 100}, nullptr);
    QWidget* client = widgetOf(*window);
    EXPECT_EQ(client->cursor().shape(), Qt::ArrowCursor);
    window->setPointCursor(true);
    EXPECT_EQ(client->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(client->cursor().hotSpot(), QPoint(9, 1));
    window->setPointCursor(false);
    EXPECT_EQ(client->cursor().shape(), Qt::ArrowCursor);
}

} // namespace lorvenna

// Message boxes: an application-modal box with the caption as title and as bold headline,
// or, while a responder is installed, its answer.
#include "platform/MessageBox.h"

#include "platform/QtText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWindow>

#include <cstdio>

namespace lorvenna {

namespace {

BoxResponder* activeResponder = nullptr;

// The answer the box gives when it is closed without a button (Escape, the close button).
BoxAnswer escapeAnswer(BoxButtons buttons) {
    switch (buttons) {
    case BoxButtons::Ok:
        return BoxAnswer::Ok;
    case BoxButtons::RetryCancel:
    case BoxButtons::OkCancel:
        return BoxAnswer::Cancel;
    case BoxButtons::YesNo:
        return BoxAnswer::No;
    }
    return BoxAnswer::Ok;
}

QMessageBox::StandardButtons standardButtons(BoxButtons buttons) {
    switch (buttons) {
    case BoxButtons::Ok:
        return QMessageBox::Ok;
    case BoxButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case BoxButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton standardButton(BoxAnswer answer) {
    switch (answer) {
    case BoxAnswer::Ok:
        return QMessageBox::Ok;
    case BoxAnswer::Retry:
        return QMessageBox::Retry;
    case BoxAnswer::Cancel:
        return QMessageBox::Cancel;
    case BoxAnswer::Yes:
        return QMessageBox::Yes;
    case BoxAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// The box body: the caption as a bold headline, the text below it, both escaped so that a
// lesson's text is shown as written and never read as markup, blanks included.
QString boxBody(const QString& caption, const QString& text) {
    const QString paragraph = QStringLiteral("<p style=\"white-space:pre-wrap\">");
    QString body =
        paragraph + QStringLiteral("<b>") + caption.toHtmlEscaped() + QStringLiteral("</b></p>");
    if (!text.isEmpty()) {
        QString escaped = text.toHtmlEscaped();
        escaped.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
        escaped.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
        escaped.replace(QLatin1Char('\r'), QStringLiteral("<br>"));
        body += paragraph + escaped + QStringLiteral("</p>");
    }
    return body;
}

// The window that had the keyboard before the box; with none (a dialog has just closed), the
// program's main window: a visible top-level window that is not a dialog.
QWidget* windowBeforeBox() {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowType() == Qt::Window)
            return window;
    }
    return nullptr;
}

// Drops the keys the program is sent for its life: all of them, or once a box is named, all
// but Enter and Return sent to that box.
class KeyDrop : public QObject {
public:
    KeyDrop() { QCoreApplication::instance()->installEventFilter(this); }
    ~KeyDrop() override { QCoreApplication::instance()->removeEventFilter(this); }
    KeyDrop(const KeyDrop&) = delete;
    KeyDrop& operator=(const KeyDrop&) = delete;

    void allowEnterIn(QWidget* box) { box_ = box; }
    // The keys typed so far, waiting for whatever window had the keyboard, go nowhere.
    void drain() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return !isEnterForBox(watched, static_cast<const QKeyEvent&>(*event));
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
            return true;
        default:
            return false;
        }
    }

private:
    bool isEnterForBox(QObject* watched, const QKeyEvent& key) const {
        if (!box_ || (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter))
            return false;
        // A key comes to the box's window first, then to its focused button.
        if (auto* widget = qobject_cast<QWidget*>(watched))
            return widget->window() == box_;
        return watched == box_->windowHandle();
    }

    QPointer<QWidget> box_;
};

BoxAnswer showBox(std::string_view caption, std::string_view text, BoxButtons buttons,
                  KeyDrop* keys = nullptr) {
    const QString title = toQString(caption);
    const QString body = toQString(text);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No window system yet: say it on the terminal rather than lose the message.
        std::fprintf(stderr, "%.*s\n%.*s\n", static_cast<int>(caption.size()), caption.data(),
                     static_cast<int>(text.size()), text.data());
        return firstButton(buttons);
    }

    const QPointer<QWidget> returnTo = windowBeforeBox();
    QMessageBox box;
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::RichText);
    box.setText(boxBody(title, body));
    // A screen reader reads the box as a dialog: the caption as its name, the text as its
    // description, without the markup of the headline.
    box.setAccessibleName(title);
    box.setAccessibleDescription(body);
    box.setStandardButtons(standardButtons(buttons));
    box.setDefaultButton(standardButton(firstButton(buttons)));
    box.setEscapeButton(standardButton(escapeAnswer(buttons)));
    if (keys)
        keys->allowEnterIn(&box);
    box.exec();
    // The box has no owner, so nothing gives the keyboard back when it closes: without this
    // the page keys would wait for a click on the window.
    if (returnTo && returnTo->isVisible() && !returnTo->isActiveWindow())
        returnTo->activateWindow();

    const QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        return escapeAnswer(buttons);
    switch (box.standardButton(const_cast<QAbstractButton*>(clicked))) {
    case QMessageBox::Ok:
        return BoxAnswer::Ok;
    case QMessageBox::Retry:
        return BoxAnswer::Retry;
    case QMessageBox::Cancel:
        return BoxAnswer::Cancel;
    case QMessageBox::Yes:
        return BoxAnswer::Yes;
    case QMessageBox::No:
        return BoxAnswer::No;
    default:
        return escapeAnswer(buttons);
    }
}

} // namespace

BoxAnswer firstButton(BoxButtons buttons) {
    switch (buttons) {
    case BoxButtons::Ok:
        return BoxAnswer::Ok;
    case BoxButtons::RetryCancel:
        return BoxAnswer::Retry;
    case BoxButtons::OkCancel:
        return BoxAnswer::Ok;
    case BoxButtons::YesNo:
        return BoxAnswer::Yes;
    }
    return BoxAnswer::Ok;
}

BoxAnswer messageBox(std::string_view caption, std::string_view text, BoxButtons buttons) {
    if (activeResponder)
        return activeResponder->respond(
            BoxRecord{std::string(caption), std::string(text), buttons});
    return showBox(caption, text, buttons);
}

BoxAnswer confirmBox(std::string_view caption, std::string_view text) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return messageBox(caption, text);
    KeyDrop keys;
    keys.drain();
    if (activeResponder)
        return activeResponder->respond(BoxRecord{std::string(caption), std::string(text)});
    return showBox(caption, text, BoxButtons::Ok, &keys);
}

BoxResponder* installBoxResponder(BoxResponder* responder) {
    BoxResponder* previous = activeResponder;
    activeResponder = responder;
    return previous;
}

} // namespace lorvenna

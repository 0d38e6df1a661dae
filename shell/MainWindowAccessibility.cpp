// The accessibility interfaces of the main window and of its announcements.
#include "shell/MainWindowAccessibility.h"

#include "items/Display.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/QtChildWindow.h"
#include "platform/QtText.h"
#include "shell/MainWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <vector>

namespace lorvenna {

namespace {

constexpr CommandId kButtonOrder[] = {CommandId::MainMenu, CommandId::Help, CommandId::Back,
                                      CommandId::Ahead,    CommandId::Note, CommandId::Quit};

// The window's children in reading order: the row of buttons, the displays as the page
// lists them (the bordered frame around each is no stop of its own), the feedback panel and
// the announcements.
class MainWindowAccessible final : public QAccessibleWidget {
public:
    explicit MainWindowAccessible(MainWindow* window)
        : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QWidget*> all = children();
        if (index < 0 || static_cast<std::size_t>(index) >= all.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(all[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        const std::vector<QWidget*> all = children();
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i] == child->object())
                return static_cast<int>(i);
        }
        return -1;
    }

private:
    MainWindow* mainWindow() const { return static_cast<MainWindow*>(widget()); }

    std::vector<QWidget*> children() const {
        std::vector<QWidget*> all;
        for (CommandId id : kButtonOrder) {
            if (QPushButton* button = mainWindow()->button(id))
                all.push_back(button);
        }
        for (Display* display : shownDisplays()) {
            QWidget* client = display->window ? widgetOf(*display->window) : nullptr;
            if (client && client->window() == widget())
                all.push_back(client);
        }
        // The panel is read while it shows a comment.
        if (QLabel* panel = mainWindow()->feedbackPanel(); panel && !panel->isHidden())
            all.push_back(panel);
        if (Announcer* said = mainWindow()->announcer())
            all.push_back(said);
        return all;
    }
};

// Said as an alert each time it is shown again with new words.
class AnnouncerAccessible final : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(QWidget* announcer)
        : QAccessibleWidget(announcer, QAccessible::AlertMessage) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return widget()->accessibleName();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* mainWindowFactory(const QString&, QObject* object) {
    if (auto* window = dynamic_cast<MainWindow*>(object))
        return new MainWindowAccessible(window);
    if (auto* announcer = dynamic_cast<Announcer*>(object))
        return new AnnouncerAccessible(announcer);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    hide();
}

void Announcer::say(std::string_view text) {
    if (text.empty())
        return;
    if (!pending_.isEmpty())
        pending_ += QLatin1Char('\n');
    pending_ += toQString(text);
    if (queued_)
        return;
    queued_ = true;
    QTimer::singleShot(0, this, [this] { sayNow(); });
}

void Announcer::sayNow() {
    queued_ = false;
    // Shown anew, the alert is read again even when the words are the same as last time.
    hide();
    setAccessibleName(pending_);
    pending_.clear();
    show();
}

void installMainWindowAccessibility() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(mainWindowFactory);
}

} // namespace lorvenna

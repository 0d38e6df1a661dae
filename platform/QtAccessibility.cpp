// The accessibility interfaces of the display windows: a display is a named group whose
// children are the nodes its window procedure describes, in reading order. Nodes without a
// control of their own (texts, captions, pictures, zones) are interfaces of ours; the items'
// push buttons and scroll bars get interfaces that take their names, roles and focus from
// the same description; an edit field keeps the toolkit's own, with the name it is given.
#include "platform/QtAccessibility.h"

#include "platform/ChildWindow.h"
#include "platform/QtChildWindow.h"
#include "platform/QtText.h"
#include "platform/ScreenScale.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <QWindow>

#include <map>
#include <optional>

namespace lorvenna {

namespace {

QAccessible::Role roleOf(AccessibleRole role) {
    switch (role) {
    case AccessibleRole::StaticText:
        return QAccessible::StaticText;
    case AccessibleRole::PushButton:
        return QAccessible::Button;
    case AccessibleRole::EditableText:
        return QAccessible::EditableText;
    case AccessibleRole::Image:
        return QAccessible::Graphic;
    case AccessibleRole::Slider:
        return QAccessible::Slider;
    }
    return QAccessible::StaticText;
}

AccessibleView viewOf(ChildWindow& window) {
    ChildWindowProc* proc = windowProcOf(window);
    return proc ? proc->accessibleView(window) : AccessibleView{};
}

std::optional<AccessibleNode> nodeWithKey(ChildWindow& window, const void* key,
                                          std::uint64_t serial) {
    for (AccessibleNode& node : viewOf(window).nodes) {
        if (node.key == key && node.serial == serial)
            return std::move(node);
    }
    return std::nullopt;
}

std::optional<AccessibleNode> nodeOfWidget(ChildWindow& window, const QWidget* widget) {
    for (AccessibleNode& node : viewOf(window).nodes) {
        if (node.control && widgetOfControl(node.control) == widget)
            return std::move(node);
    }
    return std::nullopt;
}

// A node's rectangle on the page, in the screen's pixels.
QRect globalRect(const QWidget* client, const Rect& onPage) {
    if (!client)
        return {};
    const Rect r = scaleRect(onPage);
    return QRect(client->mapToGlobal(QPoint(r.left, r.top)), QSize(r.width(), r.height()));
}

// A node with no widget of its own: a text, a caption, a picture, a figure or a zone.
class NodeAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    NodeAccessible(QWidget* client, const void* key, std::uint64_t serial)
        : client_(client), key_(key), serial_(serial) {}

    const void* key() const { return key_; }
    std::uint64_t serial() const { return serial_; }

    bool isValid() const override { return node().has_value(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return client_ ? client_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return client_ ? QAccessible::queryAccessibleInterface(client_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        const std::optional<AccessibleNode> described = node();
        if (!described)
            return {};
        switch (t) {
        case QAccessible::Name:
            return toQString(described->name);
        case QAccessible::Description:
            return toQString(described->description);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const std::optional<AccessibleNode> described = node();
        return described ? globalRect(client_, described->rect) : QRect();
    }
    QAccessible::Role role() const override {
        const std::optional<AccessibleNode> described = node();
        return described ? roleOf(described->role) : QAccessible::NoRole;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        const std::optional<AccessibleNode> described = node();
        if (!described) {
            s.invisible = true;
            return s;
        }
        s.focusable = described->focusable;
        ChildWindow* window = childWindowOfClient(client_);
        s.focused = window && window->focusRingKey() == key_;
        s.readOnly = described->role == AccessibleRole::StaticText;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override {
        const std::optional<AccessibleNode> described = node();
        if (described && (described->focusable || described->role == AccessibleRole::PushButton))
            return {pressAction()};
        return {};
    }
    void doAction(const QString& action) override {
        ChildWindow* window = childWindowOfClient(client_);
        if (!window || action != pressAction() || !isValid())
            return;
        if (ChildWindowProc* proc = windowProcOf(*window))
            proc->accessiblePress(*window, key_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    std::optional<AccessibleNode> node() const {
        ChildWindow* window = childWindowOfClient(client_);
        return window ? nodeWithKey(*window, key_, serial_) : std::nullopt;
    }

    QPointer<QWidget> client_;
    const void* key_;
    std::uint64_t serial_;
};

// A display window: the group of its nodes. The bordered frame around the client is left
// out; the group's parent is the window that holds the frame.
class DisplayAccessible final : public QAccessibleWidget {
public:
    explicit DisplayAccessible(QWidget* client)
        : QAccessibleWidget(client, QAccessible::Grouping) {}
    ~DisplayAccessible() override {
        for (const auto& [key, entry] : nodes_)
            forget(entry.id);
    }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        ChildWindow* window = childWindowOfClient(widget());
        return window ? toQString(viewOf(*window).name) : QString();
    }

    QAccessibleInterface* parent() const override {
        QWidget* frame = widget()->parentWidget();
        if (!frame)
            return QAccessibleWidget::parent();
        if (QWidget* holder = frame->parentWidget())
            return QAccessible::queryAccessibleInterface(holder);
        return QAccessible::queryAccessibleInterface(frame);
    }

    int childCount() const override {
        ChildWindow* window = childWindowOfClient(widget());
        return window ? static_cast<int>(viewOf(*window).nodes.size()) : 0;
    }

    QAccessibleInterface* child(int index) const override {
        ChildWindow* window = childWindowOfClient(widget());
        if (!window || index < 0)
            return nullptr;
        const AccessibleView view = viewOf(*window);
        if (static_cast<std::size_t>(index) >= view.nodes.size())
            return nullptr;
        return interfaceOf(view.nodes[static_cast<std::size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        ChildWindow* window = childWindowOfClient(widget());
        if (!window || !child)
            return -1;
        const AccessibleView view = viewOf(*window);
        for (std::size_t i = 0; i < view.nodes.size(); ++i) {
            if (matches(view.nodes[i], child))
                return static_cast<int>(i);
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        ChildWindow* window = childWindowOfClient(widget());
        if (!window)
            return nullptr;
        const AccessibleView view = viewOf(*window);
        // The last node drawn over the point is the one on top.
        for (auto it = view.nodes.rbegin(); it != view.nodes.rend(); ++it) {
            if (globalRect(widget(), it->rect).contains(x, y))
                return interfaceOf(*it);
        }
        return nullptr;
    }

    // The interface of the node with this key, made if need be; nullptr if there is none.
    QAccessibleInterface* childWithKey(const void* key) const {
        ChildWindow* window = childWindowOfClient(widget());
        if (!window)
            return nullptr;
        for (const AccessibleNode& node : viewOf(*window).nodes) {
            if (node.key == key)
                return interfaceOf(node);
        }
        return nullptr;
    }

private:
    struct Entry {
        std::uint64_t serial = 0;
        QAccessible::Id id = 0;
    };

    static void forget(QAccessible::Id id) {
        if (QAccessible::accessibleInterface(id))
            QAccessible::deleteAccessibleInterface(id);
    }

    bool matches(const AccessibleNode& node, const QAccessibleInterface* child) const {
        if (node.control)
            return child->object() && widgetOfControl(node.control) == child->object();
        const auto it = nodes_.find(node.key);
        return it != nodes_.end() && it->second.serial == node.serial &&
               QAccessible::accessibleInterface(it->second.id) == child;
    }

    QAccessibleInterface* interfaceOf(const AccessibleNode& node) const {
        if (node.control) {
            QWidget* control = widgetOfControl(node.control);
            if (!control)
                return nullptr;
            // An edit field keeps the toolkit's interface: it is named here.
            const QString name = toQString(node.name);
            if (node.role == AccessibleRole::EditableText && control->accessibleName() != name)
                control->setAccessibleName(name);
            return QAccessible::queryAccessibleInterface(control);
        }
        Entry& entry = nodes_[node.key];
        if (entry.id != 0 && entry.serial == node.serial) {
            if (QAccessibleInterface* known = QAccessible::accessibleInterface(entry.id))
                return known;
        }
        if (entry.id != 0)
            forget(entry.id);
        auto* made = new NodeAccessible(widget(), node.key, node.serial);
        entry = Entry{node.serial, QAccessible::registerAccessibleInterface(made)};
        return made;
    }

    mutable std::map<const void*, Entry> nodes_;
};

// An item's push button or scroll bar: named, described and focused as its node says.
class ControlAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ControlAccessible(QWidget* control)
        : QAccessibleWidget(control, qobject_cast<QAbstractSlider*>(control)
                                         ? QAccessible::Slider
                                         : QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        const std::optional<AccessibleNode> described = node();
        switch (t) {
        case QAccessible::Name:
            if (described)
                return toQString(described->name);
            if (auto* button = qobject_cast<QPushButton*>(widget()))
                return button->text().remove(QLatin1Char('&'));
            return {};
        case QAccessible::Description:
            return described ? toQString(described->description) : QString();
        case QAccessible::Value:
            if (auto* bar = slider())
                return QString::number(bar->value());
            return {};
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        ChildWindow* window = childWindowOfClient(widget()->parentWidget());
        const std::optional<AccessibleNode> described = node();
        if (window && described && window->focusRingKey() == described->key)
            s.focused = true;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface && slider())
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QStringList actionNames() const override {
        if (slider())
            return {increaseAction(), decreaseAction()};
        return {pressAction()};
    }
    void doAction(const QString& action) override {
        ChildWindow* window = childWindowOfClient(widget()->parentWidget());
        const std::optional<AccessibleNode> described = node();
        ChildWindowProc* proc = window ? windowProcOf(*window) : nullptr;
        if (!proc || !described)
            return;
        if (action == pressAction() && !slider())
            proc->accessiblePress(*window, described->key);
        else if (action == increaseAction() && slider())
            proc->scrollRequest(*window, ScrollRequest::LineDown, described->control);
        else if (action == decreaseAction() && slider())
            proc->scrollRequest(*window, ScrollRequest::LineUp, described->control);
    }

    // The thumb's position is the value; moving it is left to the slider's keys and actions,
    // which send what the move means along the item's connections.
    QVariant currentValue() const override {
        return slider() ? QVariant(slider()->value()) : QVariant();
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override {
        return slider() ? QVariant(slider()->maximum()) : QVariant();
    }
    QVariant minimumValue() const override {
        return slider() ? QVariant(slider()->minimum()) : QVariant();
    }
    QVariant minimumStepSize() const override { return QVariant(1); }

private:
    QAbstractSlider* slider() const { return qobject_cast<QAbstractSlider*>(widget()); }
    std::optional<AccessibleNode> node() const {
        ChildWindow* window = childWindowOfClient(widget()->parentWidget());
        return window ? nodeOfWidget(*window, widget()) : std::nullopt;
    }
};

QAccessibleInterface* displayFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (childWindowOfClient(widget))
        return new DisplayAccessible(widget);
    if (!childWindowOfClient(widget->parentWidget()))
        return nullptr;
    if (qobject_cast<QPushButton*>(widget) || qobject_cast<QScrollBar*>(widget))
        return new ControlAccessible(widget);
    return nullptr;
}

// A ring of two colours, so that it shows on white, on pictures and on dark buttons.
class FocusRing final : public QWidget {
public:
    explicit FocusRing(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(QColor(0, 84, 200), kOuter));
        painter.setBrush(Qt::NoBrush);
        const int half = kOuter / 2;
        painter.drawRect(rect().adjusted(half, half, -half - 1, -half - 1));
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(rect().adjusted(kOuter, kOuter, -kOuter - 1, -kOuter - 1));
    }

private:
    static constexpr int kOuter = 3;
};

// The ring stands this far outside the node's rectangle.
constexpr int kRingMargin = 4;

} // namespace

void installDisplayAccessibility() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(displayFactory);
}

QAccessibleInterface* displayAccessible(ChildWindow& window) {
    QWidget* client = widgetOf(window);
    return client ? QAccessible::queryAccessibleInterface(client) : nullptr;
}

QWidget* createFocusRing(QWidget* client) {
    return new FocusRing(client);
}

void placeFocusRing(QWidget* ring, const Rect& rect) {
    if (!ring)
        return;
    if (rect.width() <= 0 || rect.height() <= 0) {
        ring->hide();
        return;
    }
    ring->setGeometry(rect.left - kRingMargin, rect.top - kRingMargin,
                      rect.width() + 2 * kRingMargin, rect.height() + 2 * kRingMargin);
    ring->raise();
    ring->show();
    ring->update();
}

void reportFocus(ChildWindow& window, const void* key) {
    auto* display = dynamic_cast<DisplayAccessible*>(displayAccessible(window));
    if (!display || !key)
        return;
    QAccessibleInterface* focused = display->childWithKey(key);
    if (!focused)
        return;
    QAccessibleEvent event(focused, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

} // namespace lorvenna

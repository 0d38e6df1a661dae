// Connections: finding their targets by title, and delivering values along them.
#include "items/Connection.h"

#include "items/Display.h"
#include "items/Drawing.h"
#include "items/Item.h"
#include "platform/IgnoreCase.h"

namespace lorvenna {

namespace {

int g_sendDepth = 0;
int g_deliveriesLeft = 0;

void setVisibility(Item& target, Visibility visibility) {
    target.visibility = visibility;
    if (target.display)
        target.display->needsRepaint = 1;
}

void sendAll(Connection* list, double value, bool repaint) {
    for (Connection* c = list; c; c = c->next)
        Send(*c, value);
    if (repaint)
        repaintAllDisplays();
}

} // namespace

Item* liveTarget(Connection& connection) {
    Item* target = connection.target;
    if (!target)
        return nullptr;
    const std::uint64_t serial = liveItemSerial(target);
    if (serial == 0 || (connection.targetSerial != 0 && serial != connection.targetSerial)) {
        connection.target = nullptr;
        connection.targetSerial = 0;
        return nullptr;
    }
    return target;
}

Status Connect(Connection& connection) {
    // The PANELITEM form has no target and is never compared with titles.
    if (connection.targetTitle.empty())
        return {};

    // A target found on an earlier page stays while it is alive, on the page shown and still
    // carries the title; a target deleted with its display is looked up again.
    if (Item* kept = liveTarget(connection)) {
        if (isShown(kept->display) && equalsIgnoringCase(kept->title, connection.targetTitle))
            return {};
    }
    connection.target = nullptr;
    connection.targetSerial = 0;

    // The first match of each display; a later display replaces an earlier one's.
    Item* found = nullptr;
    for (const Display* display : shownDisplays()) {
        for (Item* item = display->items; item; item = item->next) {
            if (equalsIgnoringCase(item->title, connection.targetTitle)) {
                found = item;
                break;
            }
        }
    }
    if (!found)
        return failure("Connect failed on " + connection.targetTitle);
    connection.target = found;
    connection.targetSerial = liveItemSerial(found);
    return {};
}

void Send(Connection& connection, double value) {
    Item* target = liveTarget(connection);
    if (!target)
        return;
    if (g_sendDepth == 0)
        g_deliveriesLeft = kMaxDeliveries;
    if (g_sendDepth >= kMaxSendDepth || g_deliveriesLeft <= 0)
        return;
    --g_deliveriesLeft;

    double v = value;
    if (connection.isConstant)
        v = value == 0.0 ? connection.constant : connection.constant * value;

    if (equalsIgnoringCase(connection.inputName, "HIDE")) {
        setVisibility(*target, Visibility::Hidden);
        return;
    }
    if (equalsIgnoringCase(connection.inputName, "APPEAR")) {
        setVisibility(*target, Visibility::Shown);
        return;
    }
    ++g_sendDepth;
    target->Input(connection.inputName.c_str(), v, &connection.motion);
    --g_sendDepth;
}

void SendOutputs(Item& item, double value, bool repaint) {
    sendAll(item.outputs, value, repaint);
}

void SendEndOutputs(Item& item, double value, bool repaint) {
    sendAll(item.endOutputs, value, repaint);
}

void RestoreOutputs(Item& item) {
    for (Connection* c = item.outputs; c; c = c->next) {
        if (Item* target = liveTarget(*c))
            setVisibility(*target, target->initialVisibility);
    }
    repaintAllDisplays();
}

void deleteConnections(Connection*& head) {
    while (head) {
        Connection* following = head->next;
        delete head;
        head = following;
    }
}

void appendConnection(Connection*& head, Connection* connection) {
    if (!head) {
        head = connection;
        return;
    }
    Connection* last = head;
    while (last->next)
        last = last->next;
    last->next = connection;
}

} // namespace lorvenna

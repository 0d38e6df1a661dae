// A named connection from one item to another along which values and commands flow.
#pragma once

#include "items/Pose.h"
#include "platform/Diagnostic.h"

#include <cstdint>
#include <string>

namespace lorvenna {

class Item;

struct Connection {
    Connection* next = nullptr;
    Item* source = nullptr;  // not owned
    Item* target = nullptr;  // found by Connect; not owned
    std::string targetTitle; // empty for the PANELITEM form, which has no target
    std::string inputName;
    double constant = 0.0;
    bool isConstant = false;
    Pose motion; // motion form: enabled 1 and the factors as written
    // The serial number of target when Connect found it (Item.h liveItemSerial); a target
    // whose serial no longer matches was deleted and is never used. 0: set by hand, so only
    // checked for being alive.
    std::uint64_t targetSerial = 0;
};

// PANELITEM as the target of the constant form: no title is stored, the connection never
// has a target and Send ignores it.
inline constexpr const char* kPanelItemTitle = "PANELITEM";
// Nested Sends beyond this depth are dropped, and one outermost Send delivers at most
// kMaxDeliveries values in all, so a cycle of items that send on what they receive ends.
inline constexpr int kMaxSendDepth = 64;
inline constexpr int kMaxDeliveries = 10000;

// Resolves the connection's target by title among the displays of the page shown.
// Fails with "Connect failed on %s".
Status Connect(Connection& connection);
// The target as long as it is the very item Connect found and it is still alive; else
// nullptr, and the connection forgets it.
Item* liveTarget(Connection& connection);
// Delivers one value along the connection.
void Send(Connection& connection, double value);
void SendOutputs(Item& item, double value, bool repaint);
void SendEndOutputs(Item& item, double value, bool repaint);
void RestoreOutputs(Item& item);
// Deletes a whole list of connections.
void deleteConnections(Connection*& head);
// Appends a connection at the end of a list.
void appendConnection(Connection*& head, Connection* connection);

} // namespace lorvenna

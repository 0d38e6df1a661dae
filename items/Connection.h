// A named connection from one item to another along which values and commands flow.
#pragma once

#include "items/Pose.h"

#include <string>

class Item;

struct Connection {
    Connection* next = nullptr;
    Item* source = nullptr;     // not owned
    Item* target = nullptr;     // found by Connect; not owned
    std::string targetTitle;    // empty for the PANELITEM form, which has no target
    std::string inputName;
    double constant = 0.0;
    bool isConstant = false;
    Pose motion;                // motion form: enabled 1 and the factors as written
};

// Resolves the connection's target by title among the displays of the page shown.
// Fails with "Connect failed on %s" in errorText.
bool Connect(Connection& connection);
// Delivers one value along the connection.
void Send(Connection& connection, double value);
void SendOutputs(Item& item, double value, bool repaint);
void SendEndOutputs(Item& item, double value, bool repaint);
void RestoreOutputs(Item& item);
// Deletes a whole list of connections.
void deleteConnections(Connection*& head);
// Appends a connection at the end of a list.
void appendConnection(Connection*& head, Connection* connection);

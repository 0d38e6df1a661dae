// The ITEM reader: turns the definition lines of one ITEM block into the item's fields.
#pragma once

#include "platform/FileSystem.h"

namespace lorvenna {

struct Display;
class Item;

// Reads the block after the ITEM line. False with the message in errorText; the lesson file
// is then closed.
bool readItemBlock(Item* item, const char* title, Display* display, FileHandle& lessonFile);

} // namespace lorvenna

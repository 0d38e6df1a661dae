// The ITEM reader: turns the definition lines of one ITEM block into the item's fields.
#pragma once

#include "platform/Diagnostic.h"
#include "platform/FileSystem.h"

namespace lorvenna {

struct Display;
class Item;

// Reads the block after the ITEM line. A failure carries the line it stopped on (the file is
// left to the caller to name); the lesson file is then closed.
Status readItemBlock(Item* item, const char* title, Display* display, FileHandle& lessonFile);

} // namespace lorvenna

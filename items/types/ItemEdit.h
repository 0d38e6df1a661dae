// The EDIT item: a number field.
#pragma once

#include "items/Item.h"

#include <string_view>

namespace lorvenna {

// The student types a number and confirms it with Enter: the number goes along the item's
// outputs and, while a question is active, is the answer to a number question. A field that
// holds answer keys becomes the current question when it gains the keyboard focus. The
// stored text (`text`) is what a repaint puts back into the field.
class ItemEdit : public Item {
public:
    ItemEdit();
    ~ItemEdit() override;

    bool EndDefinition() override;
    Status ReadCommand(const char* line) override;
    void Draw() override;
    void Input(const char* name, double value, const Pose* motion) override;
    bool PreProcessKey(KeyEntry& key) override;
    void ClearAnswer() override;
    bool Command(unsigned notification) override;

private:
    void takeFocus();
    bool confirm();
};

// At most this many bytes are read from the field, the terminator included: 29 characters.
inline constexpr int kEditReadBytes = 30;

// The number a confirmed entry stands for: the entry is cut at its first line break (line
// breaks before it are skipped), its first comma is removed, and the rest is read as a
// decimal number as far as it fits (0 when nothing fits). `cleaned` receives the entry as
// it is stored afterwards.
double readTypedNumber(std::string_view entry, std::string* cleaned = nullptr);

} // namespace lorvenna

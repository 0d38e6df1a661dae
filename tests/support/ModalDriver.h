// Acting on the modal dialog that is open, as a user would.
#pragma once

#include <string_view>

class QWidget;

namespace lorvenna {

QWidget* activeModal();
// Clicks the push button of the open modal dialog whose caption is caption.
bool clickModalButton(std::string_view caption);
bool modalHasButton(std::string_view caption);
// Makes row the current row of the open modal dialog's list.
bool selectModalListRow(int row);

} // namespace lorvenna

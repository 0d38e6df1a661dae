// The program's own cursors.
#pragma once

class QCursor;

namespace lorvenna {

// The pointing hand (cursor 2 of the artwork), hot spot at the finger tip; shown over the
// displays while a question is active.
const QCursor& pointCursor();

} // namespace lorvenna

// Writing a tool's output file whole: through a new file made exclusively beside the target
// (never through a link or anything already there), then renamed into place, so the target
// is the old file or the whole new one and a link in its place is replaced, not followed.
#pragma once

#include <string>

namespace lorvenna {

// False when the file could not be written; the target is then as it was.
bool writeOutputFile(const std::string& name, const std::string& text);

} // namespace lorvenna

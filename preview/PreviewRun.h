// lorvenna --preview [LESSON [PAGE]]: the lesson file checked and the preview run on it.
#pragma once

#include <string>

namespace lorvenna {

// The lesson file by its host path; an empty path is asked for in a file dialog. Needs the
// application object; returns the program's exit code.
int runPreview(const std::string& lessonFile, int page);

} // namespace lorvenna

// The page size and full screen the user chose, remembered for each course folder.
#pragma once

#include "shell/MainWindow.h"

#include <string>

class QSettings;

namespace lorvenna {

// The choice last saved for the course in folder; the page fitted to a maximised window when
// none was.
PageChoice loadPageChoice(QSettings& settings, const std::string& folder);
void savePageChoice(QSettings& settings, const std::string& folder, const PageChoice& choice);

} // namespace lorvenna

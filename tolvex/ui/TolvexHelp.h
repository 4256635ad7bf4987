#pragma once

#include <QString>

namespace tolvex {

// The library's HTML help: below the program's folder as installed (../share/doc/tolvex), in the
// installed data folder, or in the build tree; empty when none is there.
QString TolvexHelpFile();

// Opens it in the desktop's browser; false when it is not there or cannot be opened.
bool OpenTolvexHelp();

} // namespace tolvex

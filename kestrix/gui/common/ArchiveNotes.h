#pragma once

// Noting in the archive of the configuration what the user did with an instrument's data.

#include "kestrix/archive/activityNotes.h"

#include <string>

class QWidget;

namespace kestrix::gui {

class UserDialogs;

// What went wrong with the archive is told from the event loop, so that no box runs inside a
// session's signal; what the user did stands either way.
void NoteInArchive(QWidget& parent, UserDialogs& dialogs, const std::string& configPath,
                   const archive::ActivityNote& note);

} // namespace kestrix::gui

#pragma once

// The window's use of the archive of the configuration: File > Open from Archive, and noting
// what the user did with an instrument's data. Problems are told in message boxes.

#include "kestrix/archive/activityNotes.h"
#include "kestrix/data/clsDataRecordSet.h"

#include <memory>
#include <string>

class QWidget;

namespace kestrix::gui {

class UserDialogs;

// The chosen records; null when the user cancelled or the archive failed.
std::shared_ptr<clsDataRecordSet> OpenFromArchive(QWidget* parent, UserDialogs& dialogs,
                                                  const std::string& configPath);

// What went wrong with the archive is told from the event loop, so that no box runs inside a
// session's signal; what the user did stands either way.
void NoteInArchive(QWidget& parent, UserDialogs& dialogs, const std::string& configPath,
                   const archive::ActivityNote& note);

} // namespace kestrix::gui

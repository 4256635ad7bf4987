#pragma once

// File > Open from Archive: asks which records to take and reads them from the archive of the
// configuration; problems are told in message boxes.

#include "kestrix/data/clsDataRecordSet.h"

#include <memory>
#include <string>

class QWidget;

namespace kestrix::gui {

class UserDialogs;

// The chosen records; null when the user cancelled or the archive failed.
std::shared_ptr<clsDataRecordSet> OpenFromArchive(QWidget* parent, UserDialogs& dialogs,
                                                  const std::string& configPath);

} // namespace kestrix::gui

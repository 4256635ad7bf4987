#pragma once

// File > Open from Archive: the archive of the configuration, the user's choice of instrument,
// locations and time range, and its records. Problems are told in message boxes.

#include "kestrix/data/clsDataRecordSet.h"

#include <memory>
#include <string>

class QWidget;

namespace kestrix::gui {

class UserDialogs;

// The chosen records; null when the user cancelled or the archive failed.
std::shared_ptr<data::clsDataRecordSet> OpenFromArchive(QWidget* parent, UserDialogs& dialogs,
                                                        const std::string& configPath);

} // namespace kestrix::gui

#pragma once

// Tools > Instruments...: the archive's instruments with their calibrations; a calibration the
// user keeps is noted in the audit trail. Problems are told in message boxes.

#include <string>

class QWidget;

namespace kestrix::gui {

class UserDialogs;

void ManageInstruments(QWidget* parent, UserDialogs& dialogs, const std::string& configPath);

} // namespace kestrix::gui

#pragma once

// Tools > Audit Trail...: the archive's events for review, and the chain verified on request.
// Problems are told in message boxes.

#include <string>

class QWidget;

namespace kestrix::gui {

class UserDialogs;

void ReviewAuditTrail(QWidget* parent, UserDialogs& dialogs, const std::string& configPath);

} // namespace kestrix::gui

#pragma once

// What the instrument wizards tell the user through their dialogs: a session's notice, shown
// once the session's signal has returned, and a port the user may not open.

#include "kestrix/instrument/PortList.h"
#include "kestrix/instrument/SessionMessages.h"

#include <QString>
#include <string>

class QWidget;

namespace kestrix::gui {

class UserDialogs;

// The sessions' texts break lines with CR LF; labels want LF.
QString WizardText(const std::string& text);

// The message box opens from the event loop, so that no box runs its loop inside the session.
void ShowNoticeLater(QWidget& wizard, UserDialogs& dialogs, instrument::MessageIcon icon,
                     const std::string& title, const std::string& text);

// False, with the reason shown, when the chosen entry of the port list cannot be opened.
bool ChosenPortCanOpen(QWidget& wizard, UserDialogs& dialogs, const instrument::ListChoice& ports,
                       int chosen);

} // namespace kestrix::gui

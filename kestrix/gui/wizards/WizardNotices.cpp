#include "kestrix/gui/wizards/WizardNotices.h"

#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/instrument/sessionTexts.h"

#include <QTimer>

namespace kestrix::gui {
namespace {

QMessageBox::Icon BoxIcon(instrument::MessageIcon icon) {
    switch (icon) {
    case instrument::MessageIcon::Information:
        return QMessageBox::Information;
    case instrument::MessageIcon::Warning:
        return QMessageBox::Warning;
    case instrument::MessageIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString WizardText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void ShowNoticeLater(QWidget& wizard, UserDialogs& dialogs, instrument::MessageIcon icon,
                     const std::string& title, const std::string& text) {
    QTimer::singleShot(
        0, &wizard, [&wizard, &dialogs, icon, title = WizardText(title), text = WizardText(text)] {
            dialogs.Message(&wizard, {text, title, BoxIcon(icon), QMessageBox::Ok, {}});
        });
}

bool ChosenPortCanOpen(QWidget& wizard, UserDialogs& dialogs, const instrument::ListChoice& ports,
                       int chosen) {
    if (chosen < 0 || chosen >= static_cast<int>(ports.entries.size()) ||
        ports.entries[static_cast<std::size_t>(chosen)].canOpen) {
        return true;
    }
    dialogs.Message(&wizard, {WizardText(ports.entries[static_cast<std::size_t>(chosen)].reason),
                              QString::fromUtf8(sessionTexts::kConfigurationErrorTitle),
                              QMessageBox::Warning,
                              QMessageBox::Ok,
                              {}});
    return false;
}

} // namespace kestrix::gui

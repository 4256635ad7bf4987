#include "kestrix/gui/common/ArchiveAccess.h"

#include "kestrix/gui/common/UserDialogs.h"

namespace kestrix::gui {

std::optional<archive::ArchiveSettings> UsableArchive(QWidget* parent, UserDialogs& dialogs,
                                                      const std::string& configPath) {
    const archive::ArchiveSettings settings = archive::ReadArchiveSettings(configPath);
    if (!settings.problem.empty()) {
        TellArchiveFailed(parent, dialogs, settings.problem);
        return std::nullopt;
    }
    if (!settings.enabled) {
        TellArchiveNote(parent, dialogs,
                        QObject::tr("The archive is switched off in the configuration."));
        return std::nullopt;
    }
    return settings;
}

void TellArchiveProblem(QWidget* parent, UserDialogs& dialogs, const QString& text,
                        const std::string& reason) {
    dialogs.Message(parent, {text, QStringLiteral("File Error!"), QMessageBox::Warning,
                             QMessageBox::Ok, QString::fromStdString(reason)});
}

void TellArchiveFailed(QWidget* parent, UserDialogs& dialogs, const std::string& reason) {
    TellArchiveProblem(parent, dialogs, QObject::tr("The archive cannot be read."), reason);
}

void TellArchiveNote(QWidget* parent, UserDialogs& dialogs, const QString& text) {
    dialogs.Message(
        parent, {text, QObject::tr("Information"), QMessageBox::Information, QMessageBox::Ok, {}});
}

} // namespace kestrix::gui

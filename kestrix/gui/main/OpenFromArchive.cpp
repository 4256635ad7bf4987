#include "kestrix/gui/main/OpenFromArchive.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/gui/main/ArchiveDialog.h"

#include <QDialog>

namespace kestrix::gui {

namespace {

void Tell(QWidget* parent, UserDialogs& dialogs, const QString& text, const QString& title,
          QMessageBox::Icon icon, const std::string& detail = {}) {
    dialogs.Message(parent, {text, title, icon, QMessageBox::Ok, QString::fromStdString(detail)});
}

} // namespace

std::shared_ptr<data::clsDataRecordSet> OpenFromArchive(QWidget* parent, UserDialogs& dialogs,
                                                        const std::string& configPath) {
    const archive::ArchiveSettings settings = archive::ReadArchiveSettings(configPath);
    if (!settings.problem.empty()) {
        Tell(parent, dialogs, QObject::tr("The archive cannot be read."),
             QStringLiteral("File Error!"), QMessageBox::Warning, settings.problem);
        return nullptr;
    }
    if (!settings.enabled) {
        Tell(parent, dialogs, QObject::tr("The archive is switched off in the configuration."),
             QObject::tr("Information"), QMessageBox::Information);
        return nullptr;
    }
    try {
        archive::Archive archive(settings, archive::Access::kRead);
        ArchiveDialog dialog(archive.Instruments(), parent);
        dialogs.ShowModal(dialog);
        if (dialog.result() != QDialog::Accepted) {
            return nullptr;
        }
        std::shared_ptr<data::clsDataRecordSet> recordSet =
            std::move(archive.Query(dialog.Choice()).recordSet);
        if (recordSet->RecordCount() == 0) {
            Tell(parent, dialogs,
                 QObject::tr("The archive holds no record of that instrument in that time range "
                             "and at those locations."),
                 QObject::tr("Information"), QMessageBox::Information);
            return nullptr;
        }
        return recordSet;
    } catch (const archive::ArchiveError& error) {
        Tell(parent, dialogs, QObject::tr("The archive cannot be read."),
             QStringLiteral("File Error!"), QMessageBox::Warning, error.what());
        return nullptr;
    }
}

} // namespace kestrix::gui

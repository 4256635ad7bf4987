#include "kestrix/gui/main/OpenFromArchive.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/gui/common/ArchiveAccess.h"
#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/gui/main/ArchiveDialog.h"

#include <QDialog>

namespace kestrix::gui {

std::shared_ptr<data::clsDataRecordSet> OpenFromArchive(QWidget* parent, UserDialogs& dialogs,
                                                        const std::string& configPath) {
    const std::optional<archive::ArchiveSettings> settings =
        UsableArchive(parent, dialogs, configPath);
    if (!settings) {
        return nullptr;
    }
    try {
        archive::Archive archive(*settings, archive::Access::kRead);
        ArchiveDialog dialog(archive.Instruments(), parent);
        dialogs.ShowModal(dialog);
        if (dialog.result() != QDialog::Accepted) {
            return nullptr;
        }
        std::shared_ptr<data::clsDataRecordSet> recordSet =
            std::move(archive.Query(dialog.Choice()).recordSet);
        if (recordSet->RecordCount() == 0) {
            TellArchiveNote(parent, dialogs,
                            QObject::tr("The archive holds no record of that instrument in that "
                                        "time range and at those locations."));
            return nullptr;
        }
        return recordSet;
    } catch (const archive::ArchiveError& error) {
        TellArchiveFailed(parent, dialogs, error.what());
        return nullptr;
    }
}

} // namespace kestrix::gui

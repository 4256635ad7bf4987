#include "kestrix/gui/main/ReviewAuditTrail.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/gui/common/ArchiveAccess.h"
#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/gui/main/AuditTrailDialog.h"

namespace kestrix::gui {

void ReviewAuditTrail(QWidget* parent, UserDialogs& dialogs, const std::string& configPath) {
    const std::optional<archive::ArchiveSettings> settings =
        UsableArchive(parent, dialogs, configPath);
    if (!settings) {
        return;
    }
    std::vector<archive::EventEntry> events;
    std::string place;
    try {
        archive::Archive archive(*settings, archive::Access::kRead);
        events = archive.Events();
        place = archive.Place();
    } catch (const archive::ArchiveError& error) {
        TellArchiveFailed(parent, dialogs, error.what());
        return;
    }
    // A fresh read each time: events written since the window opened are checked too.
    auto verify = [&settings](const std::optional<archive::ChainHead>& kept) {
        return archive::Archive(*settings, archive::Access::kRead).Verify(kept);
    };
    AuditTrailDialog dialog(std::move(events), std::move(place), verify, dialogs, parent);
    dialogs.ShowModal(dialog);
}

} // namespace kestrix::gui

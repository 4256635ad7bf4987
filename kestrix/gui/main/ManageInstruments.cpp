#include "kestrix/gui/main/ManageInstruments.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/gui/common/ArchiveAccess.h"
#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/gui/main/InstrumentsDialog.h"

namespace kestrix::gui {

void ManageInstruments(QWidget* parent, UserDialogs& dialogs, const std::string& configPath) {
    const std::optional<archive::ArchiveSettings> settings =
        UsableArchive(parent, dialogs, configPath);
    if (!settings) {
        return;
    }
    std::vector<archive::InstrumentCalibration> rows;
    try {
        archive::Archive archive(*settings, archive::Access::kRead);
        rows = archive::InstrumentCalibrations(archive);
    } catch (const archive::ArchiveError& error) {
        TellArchiveFailed(parent, dialogs, error.what());
        return;
    }
    auto keep = [&](const archive::InstrumentSummary& instrument,
                    const archive::Calibration& calibration)
        -> std::optional<std::vector<archive::InstrumentCalibration>> {
        if (const std::string problem = archive::CalibrationProblem(calibration);
            !problem.empty()) {
            TellArchiveProblem(parent, dialogs, QObject::tr("The calibration was not kept."),
                               problem);
            return std::nullopt;
        }
        try {
            archive::Archive archive(*settings);
            archive.Note(
                archive::CalibrationNote(instrument.model, instrument.serial, calibration));
            return archive::InstrumentCalibrations(archive);
        } catch (const archive::ArchiveError& error) {
            TellArchiveProblem(parent, dialogs, QObject::tr("The calibration was not kept."),
                               error.what());
            return std::nullopt;
        }
    };
    InstrumentsDialog dialog(std::move(rows), QDate::currentDate(), keep, parent);
    dialogs.ShowModal(dialog);
}

} // namespace kestrix::gui

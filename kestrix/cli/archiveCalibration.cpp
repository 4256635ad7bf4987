#include "kestrix/cli/archiveCalibration.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/calibration.h"
#include "kestrix/cli/archiveExport.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/printableText.h"

#include <QDate>
#include <iostream>

namespace kestrix::cli {

namespace {

void PrintCalibration(const archive::ArchivedInstrument& instrument, std::int32_t serial,
                      const std::optional<archive::Calibration>& calibration) {
    std::cout << PrintableText(instrument.model) << ' ' << serial << ": ";
    if (calibration) {
        std::cout << PrintableText(archive::CalibrationText(*calibration)) << '\n';
    } else {
        std::cout << "no calibration known\n";
    }
    const std::string warning = archive::CalibrationWarning(calibration, QDate::currentDate());
    if (calibration && !warning.empty()) {
        ReportNote(warning);
    }
}

} // namespace

void RegisterArchiveCalibration(CLI::App& command, ArchiveCalibrationOptions& options) {
    RegisterArchivedInstrument(command, options.serial, options.model);
    CLI::Option* certificate =
        command.add_option("--certificate", options.certificate,
                           "the calibration certificate's number; without it the calibration "
                           "that stands is shown");
    command.add_option("--date", options.date, "the day of the calibration, YYYY-MM-DD")
        ->type_name("DATE")
        ->needs(certificate);
    command.add_option("--due", options.due, "the day the next calibration is due, YYYY-MM-DD")
        ->type_name("DATE")
        ->needs(certificate);
}

bool WritesCalibration(const ArchiveCalibrationOptions& options) {
    return options.certificate.has_value();
}

int RunArchiveCalibration(archive::Archive& archive, const ArchiveCalibrationOptions& options) {
    archive::ArchivedInstrument instrument;
    try {
        instrument = archive::FindInstrument(archive.Database(), options.serial, options.model);
    } catch (const archive::ArchiveNoInstrument& error) {
        return Fail(kExitArchiveNoInstrument, error.what());
    }
    if (!WritesCalibration(options)) {
        PrintCalibration(
            instrument, options.serial,
            archive::LatestCalibration(archive.Events(), instrument.model, options.serial));
        return kExitOk;
    }
    const archive::Calibration calibration{*options.certificate,
                                           archive::ParseCalibrationDate(options.date),
                                           archive::ParseCalibrationDate(options.due)};
    if (const std::string problem = archive::CalibrationProblem(calibration); !problem.empty()) {
        return Fail(kExitUsage, "calibration not kept: " + problem);
    }
    archive.Note(archive::CalibrationNote(instrument.model, options.serial, calibration));
    PrintCalibration(instrument, options.serial, calibration);
    return kExitOk;
}

} // namespace kestrix::cli

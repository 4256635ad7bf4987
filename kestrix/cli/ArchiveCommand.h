#pragma once

// kestrix-cli archive list|export|import|verify|events|sign|verify-file|setup-server|calibration:
// the download archive from the command line. Each subcommand opens the archive the
// configuration file names.

#include "kestrix/cli/CliCommand.h"
#include "kestrix/cli/archiveCalibration.h"
#include "kestrix/cli/archiveExport.h"
#include "kestrix/cli/archiveListings.h"
#include "kestrix/cli/archiveServerSetup.h"
#include "kestrix/cli/archiveSigning.h"

#include <optional>
#include <string>

namespace kestrix::cli {

class ArchiveCommand : public CliCommand {
public:
    CLI::App* Register(CLI::App& program) override;
    ApplicationKind RequiredApplication() const override;
    int Run(const CliContext& context) override;

private:
    CLI::App* list_ = nullptr;
    CLI::App* export_ = nullptr;
    CLI::App* import_ = nullptr;
    CLI::App* verify_ = nullptr;
    CLI::App* events_ = nullptr;
    CLI::App* calibration_ = nullptr;
    CLI::App* sign_ = nullptr;
    CLI::App* verifyFile_ = nullptr;
    CLI::App* setupServer_ = nullptr;
    bool listJson_ = false;
    bool eventsJson_ = false;
    ArchiveExportOptions exportOptions_;
    std::string importPath_;
    std::optional<std::string> keptHead_;
    ArchiveCalibrationOptions calibrationOptions_;
    archive::EventFilter eventFilter_;
    SignOptions signOptions_;
    std::string signedFile_;
    ServerSetupOptions setupOptions_;
};

} // namespace kestrix::cli

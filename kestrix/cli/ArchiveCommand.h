#pragma once

// kestrix-cli archive list|export|import|verify|events|calibration: the download archive from the
// command line. Each subcommand opens the archive the configuration file names.

#include "kestrix/cli/CliCommand.h"
#include "kestrix/cli/archiveCalibration.h"
#include "kestrix/cli/archiveExport.h"

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
    bool listJson_ = false;
    bool eventsJson_ = false;
    ArchiveExportOptions exportOptions_;
    std::string importPath_;
    std::optional<std::string> keptHead_;
    ArchiveCalibrationOptions calibrationOptions_;
};

} // namespace kestrix::cli

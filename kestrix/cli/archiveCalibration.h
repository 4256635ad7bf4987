#pragma once

// kestrix-cli archive calibration: keeps an instrument's calibration in the archive's trail, or
// shows the one that stands.

#include "kestrix/cli/CliCommand.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix::archive {
class Archive;
}

namespace kestrix::cli {

struct ArchiveCalibrationOptions {
    std::int32_t serial = 0;
    std::string model;
    std::optional<std::string> certificate; // none: show the calibration
    std::string date;
    std::string due;
};

void RegisterArchiveCalibration(CLI::App& command, ArchiveCalibrationOptions& options);

bool WritesCalibration(const ArchiveCalibrationOptions& options);

int RunArchiveCalibration(archive::Archive& archive, const ArchiveCalibrationOptions& options);

} // namespace kestrix::cli

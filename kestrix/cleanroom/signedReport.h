#pragma once

// Signing a classification report: the saved file's bytes are signed, then the report is
// written again in its place with every signature of that file printed in its signature
// section, and the archive notes the copy as signed too.

#include "kestrix/archive/signing.h"
#include "kestrix/cleanroom/classification.h"

#include <optional>
#include <string>

namespace kestrix::archive {
class Archive;
struct ArchiveSettings;
} // namespace kestrix::archive

namespace kestrix::cleanroom {

struct ReportSigning {
    std::string meaning;
    std::string comment;
    std::string password;
};

struct ReportSignOutcome {
    std::optional<archive::SignOutcome> signing; // empty when the file could not be read
    std::string problem; // why the file could not be read or written again; empty when it was
};

// `report` is the one saved at `path`. Throws ArchiveError as Sign does.
ReportSignOutcome SignReport(archive::Archive& archive, const archive::ArchiveSettings& settings,
                             ClassificationReport report, const std::string& path,
                             const ReportSigning& signing);

} // namespace kestrix::cleanroom

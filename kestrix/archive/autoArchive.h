#pragma once

// Archiving a finished download on the way: whatever goes wrong with the archive is told in
// one message and never stops the download.

#include "kestrix/archive/archiveSettings.h"

#include <cstdint>
#include <string>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::archive {

struct AutoArchiveOutcome {
    bool archived = false;
    std::int64_t event = 0; // the download's event when archived
    // "archived 10 new records of 65535 in <place>", or why nothing was archived: switched
    // off, a setting that cannot be read, "archive busy: not archived", the archive's error.
    std::string message;
};

// The archive's chain head as "event N sha256:HEX" for the files of a download; empty when
// the archive is switched off, empty or cannot be read (the files are written all the same).
std::string CurrentChainHead(const ArchiveSettings& settings);

// An archived set carries the head of its download's event from then on.
AutoArchiveOutcome ArchiveFinishedDownload(const ArchiveSettings& settings,
                                           data::clsDataRecordSet& recordSet,
                                           std::int32_t mapVersion);

} // namespace kestrix::archive

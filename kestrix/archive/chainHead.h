#pragma once

// The newest event of the audit trail as "event N sha256:HEX". Kept outside the database (in a
// report, an export, a note), it proves the history up to it: an archive that no longer holds
// event N with that hash was cut or rebuilt afterwards.

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix::archive {

class ArchiveDatabase;

struct ChainHead {
    std::int64_t event = 0; // 0: an archive without events
    std::string hash;       // hex
};

std::string FormatChainHead(const ChainHead& head);

// The first head in a text, written as "event N sha256:HEX" or as "N:HEX".
std::optional<ChainHead> FindChainHead(const std::string& text);

// The head the archive holds now; event 0 when it has none.
ChainHead ReadChainHead(ArchiveDatabase& database);

} // namespace kestrix::archive

#pragma once

// What an electronic signature is bound to: the SHA-256 of a file's bytes, or of the records a
// download added to the archive. The signature carries the hash, so that it cannot be moved
// to other data.

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix::archive {

class ArchiveDatabase;

struct SignedContent {
    std::string sha256; // hex
    std::string file;   // the file's name without its folder; empty for a download
    std::optional<std::int64_t> downloadEvent;
    std::optional<std::int64_t> downloadId;
    std::optional<std::int64_t> instrumentId;
};

// The download whose download or import event is eventId. Throws ArchiveError when there is
// none, or when its records are no longer the ones its event hashed.
SignedContent DownloadContent(ArchiveDatabase& database, std::int64_t eventId);

// The file's bytes; empty with the reason in `problem` when it cannot be read.
std::optional<SignedContent> FileContent(const std::string& path, std::string& problem);

} // namespace kestrix::archive

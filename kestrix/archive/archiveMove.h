#pragma once

// The archive's default file lives in the data folder; older versions kept it beside the
// configuration file. Such an archive is moved once, whole, and only while nobody uses it;
// until then it stays the archive, so that there are never two.

#include <string>

namespace kestrix::archive {

// The SQLite file used when the configuration names none: for the default configuration the
// one in the data folder, or the older one while only that exists; for another configuration
// file the one beside it.
std::string DefaultArchivePath(const std::string& configPath);

enum class ArchiveMoveOutcome { kNothingToMove, kMoved, kBothKept, kNotMoved };

struct ArchiveMove {
    ArchiveMoveOutcome outcome = ArchiveMoveOutcome::kNothingToMove;
    std::string note; // for stderr or the window; empty when nothing happened
};

// Moves the SQLite archive `from` to `to`, which must not exist: a rename, or a copy that is
// flushed and renamed into place when the folders lie on different file systems. The journal is
// folded in first, which also proves that no other program has the archive open.
ArchiveMove MoveArchive(const std::string& from, const std::string& to);

// The move from the older place, for the default configuration at start; nothing to do when
// the configuration names its archive.
ArchiveMove MoveOlderArchive(const std::string& configPath);

} // namespace kestrix::archive

#pragma once

// The archive's tables. The schema carries its version; opening an archive brings an older
// one forward step by step, each step in the transaction that records its version.
//   1  instruments, downloads, records, the audit events
//   2  the head of the event chain, so that deleting the newest events is found too
//   3  a variant number per record, so that records of one time stamp that differ are kept
//   4  the user's full name per event; on PostgreSQL a trigger that sets an event's time, user
//      and full name on the server, so that no client can forge them

namespace kestrix::archive {

class ArchiveDatabase;

inline constexpr int kArchiveSchemaVersion = 4;

// Throws ArchiveError for an archive of a newer program or a failed step.
void MigrateArchive(ArchiveDatabase& database, int targetVersion = kArchiveSchemaVersion);

// 0 for an archive without tables; throws ArchiveError for one of a newer program.
int ArchiveSchemaVersion(ArchiveDatabase& database);

} // namespace kestrix::archive

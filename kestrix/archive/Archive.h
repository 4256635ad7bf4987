#pragma once

// The download archive: every download kept, a record once per instrument, time stamp and values,
// with an audit trail whose hash chain shows any later change. SQLite by default, PostgreSQL for a
// site's shared server; the same statements for both. Every operation throws ArchiveError.

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/PrivateCopy.h"
#include "kestrix/archive/activityNotes.h"
#include "kestrix/archive/archiveEvents.h"
#include "kestrix/archive/archiveQuery.h"
#include "kestrix/archive/archiveStore.h"
#include "kestrix/archive/archiveVerify.h"
#include "kestrix/archive/chainHead.h"

#include <memory>

namespace kestrix::archive {

class Archive {
public:
    // Opens the archive, creating it or bringing an older schema forward. Opened for reading,
    // an SQLite file that exists is opened read-only and no write lock is taken; one of an older
    // schema is read from a private copy brought forward, the original left as it is.
    explicit Archive(const ArchiveSettings& settings, Access access = Access::kWrite);

    const std::string& Place() const { return database_->Place(); }

    StoreResult Store(data::clsDataRecordSet& recordSet, const DownloadOrigin& origin);
    std::vector<InstrumentSummary> Instruments();
    // The records with the head of the chain they were read at, which the set carries too.
    QueryResult Query(const RecordQuery& query);
    // Notes something done with an instrument's data (an export, a name upload) in the trail.
    void Note(const ActivityNote& note);
    std::vector<EventEntry> Events();
    // Each reads one snapshot, so that a writer at the same time is not taken for damage.
    VerifyResult Verify(const std::optional<ChainHead>& kept = std::nullopt);
    ChainHead Head();

    ArchiveDatabase& Database() { return *database_; }

private:
    std::unique_ptr<PrivateCopy> copy_; // outlives the connection to it
    std::unique_ptr<ArchiveDatabase> database_;
};

} // namespace kestrix::archive

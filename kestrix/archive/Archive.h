#pragma once

// The download archive: every download kept, deduplicated by instrument and time stamp, with
// an audit trail whose hash chain shows any later change. SQLite by default, PostgreSQL for a
// site's shared server; the same statements for both. Every operation throws ArchiveError.

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/activityNotes.h"
#include "kestrix/archive/archiveEvents.h"
#include "kestrix/archive/archiveQuery.h"
#include "kestrix/archive/archiveStore.h"
#include "kestrix/archive/archiveVerify.h"

namespace kestrix::archive {

class Archive {
public:
    // Opens the archive, creating it or bringing an older schema forward.
    explicit Archive(const ArchiveSettings& settings);

    const std::string& Place() const { return database_.Place(); }

    StoreResult Store(clsDataRecordSet& recordSet, const DownloadOrigin& origin);
    std::vector<InstrumentSummary> Instruments();
    std::unique_ptr<clsDataRecordSet> Query(const RecordQuery& query);
    // Notes something done with an instrument's data (an export, a name upload) in the trail.
    void Note(const ActivityNote& note);
    std::vector<EventEntry> Events();
    VerifyResult Verify();

    ArchiveDatabase& Database() { return database_; }

private:
    ArchiveDatabase database_;
};

} // namespace kestrix::archive

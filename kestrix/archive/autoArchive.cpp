#include "kestrix/archive/autoArchive.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/auditChain.h"

namespace kestrix::archive {

AutoArchiveOutcome ArchiveFinishedDownload(const ArchiveSettings& settings,
                                           clsDataRecordSet& recordSet, std::int32_t mapVersion) {
    if (!settings.enabled) {
        return {};
    }
    try {
        Archive archive(settings);
        const StoreResult stored = archive.Store(recordSet, {kEventDownload, mapVersion});
        return {true, "archived " + std::to_string(stored.newRecords) + " new records of " +
                          std::to_string(stored.records) + " in " + archive.Place()};
    } catch (const ArchiveError& error) {
        return {false, std::string("the download was not archived: ") + error.what()};
    }
}

} // namespace kestrix::archive

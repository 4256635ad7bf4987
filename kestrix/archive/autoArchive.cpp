#include "kestrix/archive/autoArchive.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/auditChain.h"

namespace kestrix::archive {

namespace {
constexpr const char* kNotArchived = "the download was not archived: ";
}

AutoArchiveOutcome ArchiveFinishedDownload(const ArchiveSettings& settings,
                                           data::clsDataRecordSet& recordSet,
                                           std::int32_t mapVersion) {
    if (!settings.problem.empty()) {
        return {false, 0, kNotArchived + settings.problem};
    }
    if (!settings.enabled) {
        return {false, 0,
                std::string(kNotArchived) + "the archive is switched off ([archive] enabled)"};
    }
    try {
        Archive archive(settings);
        const StoreResult stored = archive.Store(recordSet, {kEventDownload, mapVersion});
        recordSet.SetArchiveHead(FormatChainHead(stored.head));
        return {true, stored.head.event,
                "archived " + std::to_string(stored.newRecords) + " new records of " +
                    std::to_string(stored.records) + " in " + archive.Place()};
    } catch (const ArchiveBusy& error) {
        return {false, 0, "archive busy: not archived (" + error.Reason() + ")"};
    } catch (const ArchiveError& error) {
        return {false, 0, kNotArchived + std::string(error.what())};
    }
}

std::string CurrentChainHead(const ArchiveSettings& settings) {
    if (!settings.enabled) {
        return {};
    }
    try {
        const ChainHead head = Archive(settings, Access::kRead).Head();
        return head.event == 0 ? std::string() : FormatChainHead(head);
    } catch (const ArchiveError&) {
        return {};
    }
}

} // namespace kestrix::archive

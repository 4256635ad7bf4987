#include "kestrix/archive/signedCopies.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveDatabase.h"

#include <nlohmann/json.hpp>
#include <set>

namespace kestrix::archive {

namespace {

std::set<std::int64_t> ShownSignatures(const ArchiveEvent& copy) {
    std::set<std::int64_t> ids;
    const auto details = nlohmann::json::parse(copy.details, nullptr, false);
    if (details.is_object() && details.contains("signatures") && details["signatures"].is_array()) {
        for (const auto& id : details["signatures"]) {
            if (id.is_number_integer()) {
                ids.insert(id.get<std::int64_t>());
            }
        }
    }
    return ids;
}

} // namespace

std::vector<ArchiveEvent> SignaturesOver(const std::vector<EventEntry>& entries,
                                         const std::string& sha256) {
    std::set<std::int64_t> shown;
    for (const EventEntry& entry : entries) {
        if (entry.event.kind == kEventSignedCopy && entry.event.recordsHash == sha256) {
            shown.merge(ShownSignatures(entry.event));
        }
    }
    std::vector<ArchiveEvent> signatures;
    for (const EventEntry& entry : entries) {
        const ArchiveEvent& event = entry.event;
        if (event.kind == kEventSignature &&
            (event.recordsHash == sha256 || shown.count(event.id) > 0)) {
            signatures.push_back(event);
        }
    }
    return signatures;
}

ArchiveEvent NoteSignedCopy(Archive& archive, const SignedContent& copy,
                            const std::vector<ArchiveEvent>& signatures) {
    nlohmann::ordered_json ids = nlohmann::ordered_json::array();
    for (const ArchiveEvent& signature : signatures) {
        ids.push_back(signature.id);
    }
    ArchiveEvent event;
    event.kind = kEventSignedCopy;
    event.recordsHash = copy.sha256;
    event.instrumentId = signatures.empty() ? std::nullopt : signatures.back().instrumentId;
    event.details =
        nlohmann::ordered_json{{"file", copy.file}, {"sha256", copy.sha256}, {"signatures", ids}}
            .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    ArchiveDatabase& database = archive.Database();
    WriteTransaction transaction(database);
    event = AppendEvent(database, std::move(event));
    transaction.Commit();
    return event;
}

} // namespace kestrix::archive

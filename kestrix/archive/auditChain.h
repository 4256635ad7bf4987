#pragma once

// The audit trail: events that are only ever appended, each carrying the SHA-256 of the event
// before it and of its own content (for a download, of the records it added), so that a
// changed or deleted row breaks the chain.

#include "kestrix/archive/chainHead.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <cstdint>
#include <optional>
#include <string>

namespace kestrix::archive {

class ArchiveDatabase;

inline constexpr const char* kEventDownload = "download";
inline constexpr const char* kEventImport = "import";
inline constexpr const char* kEventExport = "export";
inline constexpr const char* kEventArchiveExport = "archive export";
inline constexpr const char* kEventNameUpload = "name upload";
inline constexpr const char* kEventDensityChange = "density change";
inline constexpr const char* kEventClassificationReport = "classification report";
inline constexpr const char* kEventCalibration = "calibration";
inline constexpr const char* kEventSignature = "signature";
inline constexpr const char* kEventSignatureRefused = "signature refused";
inline constexpr const char* kEventSigningLocked = "signing locked";
inline constexpr const char* kEventSignedCopy = "signed copy";
inline constexpr const char* kEventUserAdded = "user added";

struct ArchiveEvent {
    std::int64_t id = 0;
    // A local ISO 8601 date-time; on PostgreSQL the server's UTC time, with "Z".
    std::string happenedAt;
    std::string userName;
    std::string fullName; // from the login's GECOS, or the server role's comment; may be empty
    std::string host;
    std::string kind;
    std::optional<std::int64_t> instrumentId;
    std::optional<std::int64_t> downloadId;
    std::string details;
    std::string recordsHash; // hex; empty for an event without records
    std::string previousHash;
    std::string hash;
};

// The login name, its full name (GECOS up to the first comma) and the host of this process.
std::string CurrentUserName();
std::string CurrentFullName();
std::string CurrentHost();

// The full name, or the login when none is kept.
std::string PrintedName(const ArchiveEvent& event);
// The text under `key` in the event's JSON details; empty when there is none.
std::string EventDetail(const ArchiveEvent& event, const char* key);

// Over every field but the hash itself; the full name only when there is one, so that events
// of archives before it hash as then. PostgreSQL's events trigger computes the same.
std::string EventHash(const ArchiveEvent& event);

// Numbers the event, links it to the head of the chain and makes it the head; returns it as
// stored. Call inside a WriteTransaction. On SQLite time, user, full name and host are this
// process's when empty; on PostgreSQL the server sets time, user and full name whatever the
// client sends, and computes the hash over them.
ArchiveEvent AppendEvent(ArchiveDatabase& database, ArchiveEvent event);

// The SHA-256 of records in time order, the same bytes whether they are being stored or read
// back from the archive.
class RecordsHasher {
public:
    RecordsHasher() : hash_(QCryptographicHash::Sha256) {}
    // A variant other than 0 is hashed too; records of archives before variants hash as then.
    void Add(std::int64_t instrumentId, double timeStamp, std::int32_t variant,
             std::int32_t location, std::int32_t sampleTime, std::int32_t sampleStatus,
             const QByteArray& channels);
    std::string Hex() const;

private:
    QCryptographicHash hash_;
};

} // namespace kestrix::archive

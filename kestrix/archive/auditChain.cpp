#include "kestrix/archive/auditChain.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/base/dateTime.h"
#include "kestrix/data/isoDateTime.h"

#include <QSysInfo>
#include <bit>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <pwd.h>
#include <unistd.h>

namespace kestrix::archive {

namespace {

constexpr char kFieldSeparator = '\x1f';

QVariant OptionalId(const std::optional<std::int64_t>& id) {
    return id ? QVariant(static_cast<qlonglong>(*id)) : QVariant(QMetaType(QMetaType::LongLong));
}

std::string IdText(const std::optional<std::int64_t>& id) {
    return id ? std::to_string(*id) : std::string("-");
}

template <typename T>
void AddRaw(QCryptographicHash& hash, T value) {
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&value), sizeof(T)));
}

} // namespace

std::string CurrentUserName() {
    if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr) {
        return entry->pw_name;
    }
    const char* name = std::getenv("USER");
    return name != nullptr ? name : "unknown";
}

std::string CurrentFullName() {
    const passwd* entry = getpwuid(geteuid());
    if (entry == nullptr || entry->pw_gecos == nullptr) {
        return {};
    }
    const std::string gecos = entry->pw_gecos;
    return gecos.substr(0, gecos.find(','));
}

std::string CurrentHost() {
    return QSysInfo::machineHostName().toStdString();
}

std::string PrintedName(const ArchiveEvent& event) {
    return event.fullName.empty() ? event.userName : event.fullName;
}

std::string EventDetail(const ArchiveEvent& event, const char* key) {
    const auto details = nlohmann::json::parse(event.details, nullptr, false);
    return details.is_object() && details.contains(key) && details[key].is_string()
               ? details[key].get<std::string>()
               : std::string();
}

std::string EventHash(const ArchiveEvent& event) {
    const std::string content =
        std::to_string(event.id) + kFieldSeparator + event.happenedAt + kFieldSeparator +
        event.userName + kFieldSeparator + event.host + kFieldSeparator + event.kind +
        kFieldSeparator + IdText(event.instrumentId) + kFieldSeparator + IdText(event.downloadId) +
        kFieldSeparator + event.details + kFieldSeparator + event.recordsHash + kFieldSeparator +
        event.previousHash + (event.fullName.empty() ? "" : kFieldSeparator + event.fullName);
    return QCryptographicHash::hash(QByteArray::fromStdString(content), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

ArchiveEvent AppendEvent(ArchiveDatabase& database, ArchiveEvent event) {
    QSqlQuery head = database.Run("SELECT hash FROM chain_head");
    event.previousHash =
        database.Next(head) ? head.value(0).toString().toStdString() : std::string();
    event.id = database.Single("SELECT COALESCE(MAX(id), 0) + 1 FROM events").toLongLong();
    if (event.happenedAt.empty()) {
        event.happenedAt = data::FormatIsoDateTime(base::CurrentLocalDateTime());
    }
    if (event.userName.empty()) {
        event.userName = CurrentUserName();
        event.fullName = CurrentFullName();
    }
    if (event.host.empty()) {
        event.host = CurrentHost();
    }
    event.hash = EventHash(event);
    QSqlQuery stored = database.Run(
        "INSERT INTO events (id, happened_at, user_name, full_name, host, kind, instrument_id, "
        "download_id, details, records_hash, previous_hash, hash) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
        "RETURNING happened_at, user_name, full_name, hash",
        {static_cast<qlonglong>(event.id), QString::fromStdString(event.happenedAt),
         QString::fromStdString(event.userName), QString::fromStdString(event.fullName),
         QString::fromStdString(event.host), QString::fromStdString(event.kind),
         OptionalId(event.instrumentId), OptionalId(event.downloadId),
         QString::fromStdString(event.details), QString::fromStdString(event.recordsHash),
         QString::fromStdString(event.previousHash), QString::fromStdString(event.hash)});
    if (!database.Next(stored)) {
        throw ArchiveError("the archive \"" + database.Place() + "\" did not store an event");
    }
    event.happenedAt = stored.value(0).toString().toStdString();
    event.userName = stored.value(1).toString().toStdString();
    event.fullName = stored.value(2).toString().toStdString();
    event.hash = stored.value(3).toString().toStdString();
    stored.finish();
    database.Run("DELETE FROM chain_head");
    database.Run("INSERT INTO chain_head (event_id, hash) VALUES (?, ?)",
                 {static_cast<qlonglong>(event.id), QString::fromStdString(event.hash)});
    return event;
}

void RecordsHasher::Add(std::int64_t instrumentId, double timeStamp, std::int32_t variant,
                        std::int32_t location, std::int32_t sampleTime, std::int32_t sampleStatus,
                        const QByteArray& channels) {
    AddRaw(hash_, instrumentId);
    AddRaw(hash_, std::bit_cast<std::uint64_t>(timeStamp));
    if (variant != 0) {
        AddRaw(hash_, variant);
    }
    AddRaw(hash_, location);
    AddRaw(hash_, sampleTime);
    AddRaw(hash_, sampleStatus);
    AddRaw(hash_, static_cast<std::int64_t>(channels.size()));
    hash_.addData(channels);
}

std::string RecordsHasher::Hex() const {
    return hash_.result().toHex().toStdString();
}

} // namespace kestrix::archive

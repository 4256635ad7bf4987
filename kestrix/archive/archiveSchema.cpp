#include "kestrix/archive/archiveSchema.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/ArchiveError.h"

#include <QStringList>

namespace kestrix::archive {

namespace {

QStringList FirstTables(const ArchiveDatabase& database) {
    const QString id = database.IdColumn();
    const QString real = database.DoubleType();
    return {
        "CREATE TABLE archive_schema (version INTEGER NOT NULL)",
        "INSERT INTO archive_schema (version) VALUES (0)",
        "CREATE TABLE instruments (id " + id +
            ", model TEXT NOT NULL, serial INTEGER NOT NULL, map_version INTEGER NOT NULL, "
            "flow_rate " +
            real + " NOT NULL, flow_rate_units TEXT NOT NULL, density " + real +
            " NOT NULL, UNIQUE (model, serial))",
        "CREATE TABLE downloads (id " + id +
            ", instrument_id INTEGER NOT NULL REFERENCES instruments (id), "
            "downloaded_at TEXT NOT NULL, user_name TEXT NOT NULL, host TEXT NOT NULL, "
            "program_version TEXT NOT NULL, record_total INTEGER NOT NULL, "
            "new_records INTEGER NOT NULL, header TEXT NOT NULL)",
        "CREATE TABLE records (instrument_id INTEGER NOT NULL, time_stamp " + real +
            " NOT NULL, download_id INTEGER NOT NULL, location INTEGER NOT NULL, "
            "sample_time INTEGER NOT NULL, sample_status INTEGER NOT NULL, channels " +
            database.BlobType() + " NOT NULL, PRIMARY KEY (instrument_id, time_stamp))" +
            database.ClusteredTableSuffix(),
        "CREATE INDEX records_by_download ON records (download_id)",
        "CREATE TABLE events (id " + id +
            ", happened_at TEXT NOT NULL, user_name TEXT NOT NULL, host TEXT NOT NULL, "
            "kind TEXT NOT NULL, instrument_id INTEGER, download_id INTEGER, "
            "details TEXT NOT NULL, records_hash TEXT NOT NULL, previous_hash TEXT NOT NULL, "
            "hash TEXT NOT NULL)",
    };
}

QStringList ChainHead(const ArchiveDatabase&) {
    return {
        "CREATE TABLE chain_head (event_id INTEGER NOT NULL, hash TEXT NOT NULL)",
        "INSERT INTO chain_head (event_id, hash) SELECT id, hash FROM events "
        "WHERE id = (SELECT MAX(id) FROM events)",
    };
}

QStringList RecordVariants(const ArchiveDatabase& database) {
    return {
        "CREATE TABLE records_kept (instrument_id INTEGER NOT NULL, time_stamp " +
            database.DoubleType() +
            " NOT NULL, variant INTEGER NOT NULL, download_id INTEGER NOT NULL, "
            "location INTEGER NOT NULL, sample_time INTEGER NOT NULL, sample_status INTEGER NOT "
            "NULL, channels " +
            database.BlobType() + " NOT NULL, PRIMARY KEY (instrument_id, time_stamp, variant))" +
            database.ClusteredTableSuffix(),
        "INSERT INTO records_kept (instrument_id, time_stamp, variant, download_id, location, "
        "sample_time, sample_status, channels) SELECT instrument_id, time_stamp, 0, download_id, "
        "location, sample_time, sample_status, channels FROM records",
        "DROP TABLE records",
        "ALTER TABLE records_kept RENAME TO records",
        "CREATE INDEX records_by_download ON records (download_id)",
        "ALTER TABLE downloads ADD COLUMN collisions INTEGER NOT NULL DEFAULT 0",
    };
}

// The server's hash is the one EventHash computes: the same fields, separators and "-" for
// an absent id, the full name only when there is one.
constexpr const char* kPostgresEventIdentity = R"(
CREATE FUNCTION kestrix_event_identity() RETURNS trigger LANGUAGE plpgsql AS $body$
BEGIN
    NEW.user_name := session_user;
    NEW.full_name := COALESCE((SELECT shobj_description(oid, 'pg_authid') FROM pg_roles
                               WHERE rolname = session_user), '');
    NEW.happened_at := to_char(clock_timestamp() AT TIME ZONE 'UTC',
                               'YYYY-MM-DD"T"HH24:MI:SS.MS"Z"');
    NEW.hash := encode(sha256(convert_to(concat_ws(chr(31), NEW.id::text, NEW.happened_at,
        NEW.user_name, NEW.host, NEW.kind, COALESCE(NEW.instrument_id::text, '-'),
        COALESCE(NEW.download_id::text, '-'), NEW.details, NEW.records_hash, NEW.previous_hash)
        || CASE WHEN NEW.full_name = '' THEN '' ELSE chr(31) || NEW.full_name END, 'UTF8')),
        'hex');
    RETURN NEW;
END
$body$)";

QStringList Identity(const ArchiveDatabase& database) {
    QStringList steps = {"ALTER TABLE events ADD COLUMN full_name TEXT NOT NULL DEFAULT ''"};
    if (database.GetEngine() == Engine::kPostgres) {
        steps << kPostgresEventIdentity
              << "CREATE TRIGGER events_identity BEFORE INSERT ON events FOR EACH ROW "
                 "EXECUTE FUNCTION kestrix_event_identity()";
    }
    return steps;
}

using Step = QStringList (*)(const ArchiveDatabase&);
constexpr Step kSteps[kArchiveSchemaVersion] = {FirstTables, ChainHead, RecordVariants, Identity};

} // namespace

int ArchiveSchemaVersion(ArchiveDatabase& database) {
    if (database.Single(database.TableExistsSql(), {QString("archive_schema")}).toInt() == 0) {
        return 0;
    }
    const int version = database.Single("SELECT version FROM archive_schema").toInt();
    if (version > kArchiveSchemaVersion) {
        throw ArchiveError("the archive \"" + database.Place() + "\" has schema version " +
                           std::to_string(version) + ", made by a newer program");
    }
    return version;
}

void MigrateArchive(ArchiveDatabase& database, int targetVersion) {
    // A reader of an archive that is up to date takes no write lock.
    if (ArchiveSchemaVersion(database) == targetVersion) {
        return;
    }
    WriteTransaction transaction(database);
    for (int step = ArchiveSchemaVersion(database); step < targetVersion; ++step) {
        for (const QString& statement : kSteps[step](database)) {
            database.Run(statement);
        }
        database.Run("UPDATE archive_schema SET version = ?", {step + 1});
    }
    transaction.Commit();
}

} // namespace kestrix::archive

#pragma once

// One connection to the archive, SQLite or PostgreSQL, and the few words of SQL in which the
// two differ. Every other statement of the archive is the same text for both.

#include "kestrix/archive/archiveSettings.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <initializer_list>

namespace kestrix::archive {

enum class Engine { kSqlite, kPostgres };

// Reading opens an SQLite file read-only (immutable in a read-only folder), so that an
// auditor's copy on read-only media can be listed, exported and verified.
enum class Access { kRead, kWrite };

class ArchiveDatabase {
public:
    // Throws ArchiveError naming the place and the reason. Messages name shownPlace when given
    // (the original of a private copy), else the settings' place.
    ArchiveDatabase(const ArchiveSettings& settings, Access access,
                    const std::string& shownPlace = {});
    ~ArchiveDatabase();
    ArchiveDatabase(const ArchiveDatabase&) = delete;
    ArchiveDatabase& operator=(const ArchiveDatabase&) = delete;

    Engine GetEngine() const { return engine_; }
    Access GetAccess() const { return access_; }
    const std::string& Place() const { return place_; }

    // Column types and table options of the engine.
    QString IdColumn() const;
    QString BlobType() const;
    QString DoubleType() const;
    QString ClusteredTableSuffix() const;
    // Counts the tables named by its one value.
    QString TableExistsSql() const;

    // A statement prepared and run with its values bound in order; throws ArchiveError.
    QSqlQuery Run(const QString& sql, std::initializer_list<QVariant> values = {});
    QSqlQuery Run(const QString& sql, const QVariantList& values);
    // The same in two steps, for a statement run many times with different values.
    QSqlQuery Prepare(const QString& sql);
    void Execute(QSqlQuery& query, const QVariantList& values);
    // The first column of the first row; throws when there is no row.
    QVariant Single(const QString& sql, std::initializer_list<QVariant> values = {});
    // The next row; throws when the engine failed to read it (a damaged page), so that a
    // damaged archive is never taken for a shorter one.
    bool Next(QSqlQuery& query);

    QSqlDatabase& Connection() { return database_; }

    // The error of a failed statement: ArchiveBusy when another writer held the lock too long.
    [[noreturn]] void Fail(const std::string& what, const QSqlError& error) const;

private:
    Engine engine_;
    Access access_;
    int lockTimeoutSeconds_;
    std::string place_;
    QString connectionName_;
    QSqlDatabase database_;
};

// A transaction that holds the archive's write lock from its start, so that two writers
// (the window and kestrix-cli, or two workstations) queue instead of interleaving their hash
// chains; it waits at most the lock timeout, then throws ArchiveBusy. Rolled back unless
// committed.
class WriteTransaction {
public:
    explicit WriteTransaction(ArchiveDatabase& database);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void Commit();

private:
    ArchiveDatabase& database_;
    bool open_ = true;
};

// One consistent snapshot for a reader while others write; takes no lock. Ends with it.
class ReadTransaction {
public:
    explicit ReadTransaction(ArchiveDatabase& database);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    ArchiveDatabase& database_;
};

} // namespace kestrix::archive

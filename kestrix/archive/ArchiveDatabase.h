#pragma once

// One connection to the archive, SQLite or PostgreSQL, and the few words of SQL in which the
// two differ. Every other statement of the archive is the same text for both.

#include "kestrix/archive/archiveSettings.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <initializer_list>

namespace kestrix::archive {

enum class Engine { kSqlite, kPostgres };

class ArchiveDatabase {
public:
    // Throws ArchiveError naming the place and the reason.
    explicit ArchiveDatabase(const ArchiveSettings& settings);
    ~ArchiveDatabase();
    ArchiveDatabase(const ArchiveDatabase&) = delete;
    ArchiveDatabase& operator=(const ArchiveDatabase&) = delete;

    Engine GetEngine() const { return engine_; }
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

    QSqlDatabase& Connection() { return database_; }

private:
    Engine engine_;
    std::string place_;
    QString connectionName_;
    QSqlDatabase database_;
};

// A transaction that holds the archive's write lock from its start, so that two writers
// (the window and kestrix-cli, or two workstations) queue instead of interleaving their hash
// chains. Rolled back unless committed.
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

} // namespace kestrix::archive

#include "kestrix/archive/ArchiveDatabase.h"

#include "kestrix/archive/ArchiveError.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QUrl>

namespace kestrix::archive {

namespace {

constexpr int kBusyTimeoutMs = 30000;
constexpr int kDefaultPostgresPort = 5432;
// A server that does not answer must not hold a finished download for minutes.
constexpr int kPostgresConnectTimeoutSeconds = 10;

QString NewConnectionName() {
    static QAtomicInteger<int> counter;
    return QStringLiteral("kestrix-archive-%1").arg(counter.fetchAndAddRelaxed(1));
}

std::string Reason(const QSqlError& error) {
    const QString text = error.text().trimmed();
    return text.isEmpty() ? std::string("unknown database error") : text.toStdString();
}

void ConfigureSqlite(QSqlDatabase& database, const std::string& path) {
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    database.setDatabaseName(QString::fromStdString(path));
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
}

void ConfigurePostgres(QSqlDatabase& database, const std::string& url) {
    const QUrl parsed(QString::fromStdString(url), QUrl::StrictMode);
    if (!parsed.isValid() || (parsed.scheme() != "postgresql" && parsed.scheme() != "postgres") ||
        parsed.host().isEmpty() || parsed.path().size() < 2) {
        throw ArchiveError("\"" + url +
                           "\" is no archive url: postgresql://user@host:port/database");
    }
    database.setHostName(parsed.host());
    database.setPort(parsed.port(kDefaultPostgresPort));
    database.setUserName(parsed.userName());
    database.setPassword(parsed.password());
    database.setDatabaseName(parsed.path().mid(1));
    database.setConnectOptions(
        QStringLiteral("connect_timeout=%1").arg(kPostgresConnectTimeoutSeconds));
}

} // namespace

ArchiveDatabase::ArchiveDatabase(const ArchiveSettings& settings)
    : engine_(settings.url.empty() ? Engine::kSqlite : Engine::kPostgres),
      place_(ArchivePlace(settings)), connectionName_(NewConnectionName()) {
    const QString driver = engine_ == Engine::kSqlite ? "QSQLITE" : "QPSQL";
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        throw ArchiveError("the archive \"" + place_ + "\" cannot be opened: the Qt SQL driver " +
                           driver.toStdString() + " is not installed");
    }
    database_ = QSqlDatabase::addDatabase(driver, connectionName_);
    if (engine_ == Engine::kSqlite) {
        ConfigureSqlite(database_, settings.sqlitePath);
    } else {
        ConfigurePostgres(database_, settings.url);
    }
    if (!database_.open()) {
        const std::string why = Reason(database_.lastError());
        throw ArchiveError("the archive \"" + place_ + "\" cannot be opened: " + why);
    }
    if (engine_ == Engine::kSqlite) {
        Run("PRAGMA journal_mode=WAL");
        // In WAL mode NORMAL loses no committed data when a process dies, only on power loss.
        Run("PRAGMA synchronous=NORMAL");
    } else {
        Run("SET client_min_messages TO WARNING");
    }
}

ArchiveDatabase::~ArchiveDatabase() {
    database_.close();
    database_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

QString ArchiveDatabase::IdColumn() const {
    return engine_ == Engine::kSqlite ? "INTEGER PRIMARY KEY" : "BIGSERIAL PRIMARY KEY";
}

QString ArchiveDatabase::BlobType() const {
    return engine_ == Engine::kSqlite ? "BLOB" : "BYTEA";
}

QString ArchiveDatabase::DoubleType() const {
    return engine_ == Engine::kSqlite ? "REAL" : "DOUBLE PRECISION";
}

QString ArchiveDatabase::TableExistsSql() const {
    return engine_ == Engine::kSqlite
               ? "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = ?"
               : "SELECT COUNT(*) FROM information_schema.tables WHERE table_name = ? AND "
                 "table_schema = current_schema()";
}

QString ArchiveDatabase::ClusteredTableSuffix() const {
    // Without a rowid the records live in their primary key's tree: no second copy of the key.
    return engine_ == Engine::kSqlite ? " WITHOUT ROWID" : "";
}

QSqlQuery ArchiveDatabase::Run(const QString& sql, std::initializer_list<QVariant> values) {
    return Run(sql, QVariantList(values));
}

QSqlQuery ArchiveDatabase::Run(const QString& sql, const QVariantList& values) {
    // PostgreSQL prepares only data statements; the others run as they are.
    if (values.isEmpty()) {
        QSqlQuery query(database_);
        query.setForwardOnly(true);
        if (!query.exec(sql)) {
            throw ArchiveError("the archive \"" + place_ +
                               "\" failed: " + Reason(query.lastError()));
        }
        return query;
    }
    QSqlQuery query = Prepare(sql);
    Execute(query, values);
    return query;
}

QSqlQuery ArchiveDatabase::Prepare(const QString& sql) {
    QSqlQuery query(database_);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        throw ArchiveError("the archive \"" + place_ +
                           "\" refused a statement: " + Reason(query.lastError()));
    }
    return query;
}

void ArchiveDatabase::Execute(QSqlQuery& query, const QVariantList& values) {
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        throw ArchiveError("the archive \"" + place_ + "\" failed: " + Reason(query.lastError()));
    }
}

QVariant ArchiveDatabase::Single(const QString& sql, std::initializer_list<QVariant> values) {
    QSqlQuery query = Run(sql, values);
    if (!query.next()) {
        throw ArchiveError("the archive \"" + place_ + "\" is damaged: a row is missing");
    }
    return query.value(0);
}

WriteTransaction::WriteTransaction(ArchiveDatabase& database) : database_(database) {
    if (database_.GetEngine() == Engine::kSqlite) {
        database_.Run("BEGIN IMMEDIATE");
    } else {
        database_.Run("BEGIN");
        // A lock of its own rather than a table's, so that creating the tables is covered too.
        database_.Run("SELECT pg_advisory_xact_lock(7340019)");
    }
}

WriteTransaction::~WriteTransaction() {
    if (open_) {
        try {
            database_.Run("ROLLBACK");
        } catch (const std::exception&) {
            // The connection is gone; the server drops the transaction with it.
        }
    }
}

void WriteTransaction::Commit() {
    database_.Run("COMMIT");
    open_ = false;
}

} // namespace kestrix::archive

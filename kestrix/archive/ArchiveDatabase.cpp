#include "kestrix/archive/ArchiveDatabase.h"

#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/sessionPassword.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>
#include <array>
#include <optional>

namespace kestrix::archive {

namespace {

constexpr int kDefaultPostgresPort = 5432;
constexpr int kMillisecondsPerSecond = 1000;
// A server that does not answer must not hold a finished download for minutes.
constexpr const char* kDefaultConnectTimeout = "10";
constexpr int kSqliteBusy = 5;
constexpr int kSqlitePrimaryCodeMask = 0xFF;
constexpr const char* kPostgresLockTimeout = "55P03";
constexpr int kPasswordTries = 3;

// The libpq connection parameters a url may carry; the rest of the url gives the others.
constexpr std::array<const char*, 17> kPostgresParameters = {"sslmode",
                                                             "sslrootcert",
                                                             "sslcert",
                                                             "sslkey",
                                                             "sslcrl",
                                                             "sslpassword",
                                                             "sslcompression",
                                                             "ssl_min_protocol_version",
                                                             "ssl_max_protocol_version",
                                                             "requiressl",
                                                             "gssencmode",
                                                             "channel_binding",
                                                             "connect_timeout",
                                                             "application_name",
                                                             "target_session_attrs",
                                                             "keepalives",
                                                             "keepalives_idle"};

QString NewConnectionName() {
    static QAtomicInteger<int> counter;
    return QStringLiteral("kestrix-archive-%1").arg(counter.fetchAndAddRelaxed(1));
}

std::string Reason(const QSqlError& error) {
    const QString text = error.text().trimmed();
    return text.isEmpty() ? std::string("unknown database error") : text.toStdString();
}

void ConfigureSqlite(QSqlDatabase& database, const std::string& path, Access access,
                     int lockTimeoutSeconds) {
    const QFileInfo file(QString::fromStdString(path));
    if (file.exists() && !file.isFile()) {
        throw ArchiveError("the archive \"" + path + "\" is no regular file");
    }
    QString options =
        QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(lockTimeoutSeconds * kMillisecondsPerSecond);
    if (access == Access::kRead && file.exists()) {
        // A folder that cannot be written holds no journal being written either.
        const bool immutable = !QFileInfo(file.absolutePath()).isWritable();
        options += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
        QUrl uri = QUrl::fromLocalFile(file.absoluteFilePath());
        uri.setQuery(immutable ? "mode=ro&immutable=1" : "mode=ro");
        database.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    } else {
        QDir().mkpath(file.absolutePath());
        database.setDatabaseName(file.absoluteFilePath());
    }
    database.setConnectOptions(options);
}

bool KnownPostgresParameter(const QString& name) {
    return std::any_of(kPostgresParameters.begin(), kPostgresParameters.end(),
                       [&name](const char* known) { return name == QLatin1String(known); });
}

QString PostgresOptions(const QUrl& parsed, const std::string& shown) {
    QStringList options;
    bool timeoutGiven = false;
    for (const auto& [name, value] : QUrlQuery(parsed).queryItems(QUrl::FullyDecoded)) {
        if (!KnownPostgresParameter(name)) {
            throw ArchiveError("\"" + shown + "\": the connection parameter \"" +
                               name.toStdString() + "\" is unknown");
        }
        if (value.contains(';')) {
            throw ArchiveError("\"" + shown + "\": the value of \"" + name.toStdString() +
                               "\" has a semicolon");
        }
        QString quoted = value;
        quoted.replace('\\', "\\\\").replace('\'', "\\'");
        options << name + "='" + quoted + "'";
        timeoutGiven = timeoutGiven || name == "connect_timeout";
    }
    if (!timeoutGiven) {
        options << QStringLiteral("connect_timeout=%1").arg(kDefaultConnectTimeout);
    }
    return options.join(';');
}

void ConfigurePostgres(QSqlDatabase& database, const std::string& url) {
    const QUrl parsed(QString::fromStdString(url), QUrl::StrictMode);
    const std::string shown = UrlWithoutPassword(url);
    if (!parsed.isValid() || (parsed.scheme() != "postgresql" && parsed.scheme() != "postgres") ||
        parsed.host().isEmpty() || parsed.path().size() < 2) {
        throw ArchiveError("\"" + shown +
                           "\" is no archive url: postgresql://user@host:port/database");
    }
    database.setHostName(parsed.host());
    database.setPort(parsed.port(kDefaultPostgresPort));
    database.setUserName(parsed.userName());
    database.setPassword(parsed.password());
    database.setDatabaseName(parsed.path().mid(1));
    database.setConnectOptions(PostgresOptions(parsed, shown));
}

// libpq's words when the server wants a password it was not given, or refused the one given.
bool LoginRefused(const std::string& reason) {
    return reason.find("no password supplied") != std::string::npos ||
           reason.find("password authentication failed") != std::string::npos;
}

[[noreturn]] void FailToOpen(const std::string& place, const std::string& why) {
    const std::string message = "the archive \"" + place + "\" cannot be opened: " + why;
    if (LoginRefused(why)) {
        throw ArchiveLoginRefused(message);
    }
    throw ArchiveError(message);
}

// A url without a password logs in with the one of this run, asked for when the server wants
// one; PGPASSWORD and ~/.pgpass are tried first, by libpq.
void OpenWithSessionPassword(QSqlDatabase& database, const std::string& key,
                             const std::string& place) {
    for (int tries = 0;; ++tries) {
        const std::optional<std::string> kept = SessionPassword(key);
        database.setPassword(kept ? QString::fromStdString(*kept) : QString());
        if (database.open()) {
            return;
        }
        const std::string why = Reason(database.lastError());
        if (!LoginRefused(why) || tries == kPasswordTries) {
            FailToOpen(place, why);
        }
        ForgetSessionPassword(key);
        const std::optional<std::string> given = AskSessionPassword(key, kept.has_value());
        if (!given) {
            throw ArchiveLoginRefused("the archive \"" + place +
                                      "\" cannot be opened: the server asks for a password, "
                                      "and none was given");
        }
        KeepSessionPassword(key, *given);
    }
}

} // namespace

ArchiveDatabase::ArchiveDatabase(const ArchiveSettings& settings, Access access,
                                 const std::string& shownPlace)
    : engine_(settings.url.empty() ? Engine::kSqlite : Engine::kPostgres), access_(access),
      lockTimeoutSeconds_(settings.lockTimeoutSeconds),
      place_(shownPlace.empty() ? ArchivePlace(settings) : shownPlace),
      connectionName_(NewConnectionName()) {
    if (!settings.problem.empty()) {
        throw ArchiveError(settings.problem);
    }
    const QString driver = engine_ == Engine::kSqlite ? "QSQLITE" : "QPSQL";
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        throw ArchiveError("the archive \"" + place_ + "\" cannot be opened: the Qt SQL driver " +
                           driver.toStdString() + " is not installed");
    }
    database_ = QSqlDatabase::addDatabase(driver, connectionName_);
    if (engine_ == Engine::kSqlite) {
        ConfigureSqlite(database_, settings.sqlitePath, access_, lockTimeoutSeconds_);
    } else {
        ConfigurePostgres(database_, settings.url);
    }
    if (engine_ == Engine::kPostgres && database_.password().isEmpty()) {
        OpenWithSessionPassword(database_, UrlWithoutPassword(settings.url), place_);
    } else if (!database_.open()) {
        FailToOpen(place_, Reason(database_.lastError()));
    }
    if (engine_ == Engine::kSqlite) {
        if (access_ == Access::kWrite) {
            Run("PRAGMA journal_mode=WAL");
            // In WAL mode NORMAL loses no committed data when a process dies, only on power loss.
            Run("PRAGMA synchronous=NORMAL");
        }
    } else {
        Run("SET client_min_messages TO WARNING");
        // PostgreSQL waits for ever at 0; a writer waits at most the timeout, and a client that
        // vanished inside a transaction holds the lock no longer than that either.
        const int milliseconds = std::max(1, lockTimeoutSeconds_ * kMillisecondsPerSecond);
        Run(QStringLiteral("SET lock_timeout = %1").arg(milliseconds));
        Run(QStringLiteral("SET idle_in_transaction_session_timeout = %1").arg(milliseconds));
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

void ArchiveDatabase::Fail(const std::string& what, const QSqlError& error) const {
    const QString code = error.nativeErrorCode();
    const bool busy = engine_ == Engine::kSqlite
                          ? (code.toInt() & kSqlitePrimaryCodeMask) == kSqliteBusy
                          : code == kPostgresLockTimeout;
    if (busy) {
        throw ArchiveBusy("another program held the archive \"" + place_ + "\" for " +
                          std::to_string(lockTimeoutSeconds_) + " s");
    }
    throw ArchiveError("the archive \"" + place_ + "\" " + what + ": " + Reason(error));
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
            Fail("failed", query.lastError());
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
        Fail("refused a statement", query.lastError());
    }
    return query;
}

void ArchiveDatabase::Execute(QSqlQuery& query, const QVariantList& values) {
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        Fail("failed", query.lastError());
    }
}

QVariant ArchiveDatabase::Single(const QString& sql, std::initializer_list<QVariant> values) {
    QSqlQuery query = Run(sql, values);
    if (!Next(query)) {
        throw ArchiveError("the archive \"" + place_ + "\" is damaged: a row is missing");
    }
    return query.value(0);
}

bool ArchiveDatabase::Next(QSqlQuery& query) {
    if (query.next()) {
        return true;
    }
    if (query.lastError().isValid()) {
        Fail("cannot be read", query.lastError());
    }
    return false;
}

WriteTransaction::WriteTransaction(ArchiveDatabase& database) : database_(database) {
    if (database_.GetEngine() == Engine::kSqlite) {
        database_.Run("BEGIN IMMEDIATE");
        return;
    }
    database_.Run("BEGIN");
    try {
        // A lock of its own rather than a table's, so that creating the tables is covered too.
        database_.Run("SELECT pg_advisory_xact_lock(7340019)");
    } catch (const ArchiveError&) {
        database_.Run("ROLLBACK");
        throw;
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

ReadTransaction::ReadTransaction(ArchiveDatabase& database) : database_(database) {
    database_.Run(database_.GetEngine() == Engine::kSqlite
                      ? "BEGIN"
                      : "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
}

ReadTransaction::~ReadTransaction() {
    try {
        database_.Run("ROLLBACK");
    } catch (const std::exception&) {
        // Nothing was written; the connection's end drops the snapshot.
    }
}

} // namespace kestrix::archive

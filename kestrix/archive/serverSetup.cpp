#include "kestrix/archive/serverSetup.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/scramVerifier.h"

#include <QRegularExpression>
#include <QStringList>
#include <nlohmann/json.hpp>

namespace kestrix::archive {

namespace {

constexpr const char* kAppendOnlyTables[] = {"downloads", "records", "events"};

// Raises on any change to a row once written, and on emptying the table.
constexpr const char* kRefuseChange = R"(
CREATE OR REPLACE FUNCTION kestrix_refuse_change() RETURNS trigger LANGUAGE plpgsql AS $body$
BEGIN
    RAISE EXCEPTION 'the archive table % is append-only: % refused', TG_TABLE_NAME, TG_OP
        USING ERRCODE = 'insufficient_privilege';
END
$body$)";

// Only reviewers sign; admins are reviewers too.
constexpr const char* kRefuseSigner = R"(
CREATE OR REPLACE FUNCTION kestrix_check_signer() RETURNS trigger LANGUAGE plpgsql AS $body$
BEGIN
    IF NEW.kind = 'signature' AND NOT pg_has_role(session_user, 'kestrix_reviewer', 'MEMBER') THEN
        RAISE EXCEPTION 'the role % may not sign: only kestrix_reviewer and kestrix_admin do',
            session_user USING ERRCODE = 'insufficient_privilege';
    END IF;
    RETURN NEW;
END
$body$)";

QString Quoted(const std::string& text) {
    return "'" + QString::fromStdString(text).replace("'", "''") + "'";
}

void CreateGroup(ArchiveDatabase& database, const QString& group, const QString& member) {
    if (database.Single("SELECT COUNT(*) FROM pg_roles WHERE rolname = ?", {group}).toInt() == 0) {
        database.Run("CREATE ROLE " + group + " NOLOGIN");
    }
    if (!member.isEmpty()) {
        database.Run("GRANT " + member + " TO " + group);
    }
}

QStringList Grants() {
    const QString groups = QString("%1, %2, %3").arg(kOperatorGroup, kReviewerGroup, kAdminGroup);
    QStringList grants = {
        "REVOKE ALL ON ALL TABLES IN SCHEMA public FROM PUBLIC",
        "GRANT SELECT ON ALL TABLES IN SCHEMA public TO " + groups,
        "GRANT INSERT ON downloads, records, events, instruments TO " + groups,
        // A download brings its instrument's settings up to date; the head moves with each event.
        "GRANT UPDATE ON instruments TO " + groups,
        "GRANT INSERT, DELETE ON chain_head TO " + groups,
        "GRANT USAGE ON ALL SEQUENCES IN SCHEMA public TO " + groups,
    };
    for (const char* table : kAppendOnlyTables) {
        grants << QString("DROP TRIGGER IF EXISTS %1_append_only ON %1").arg(table)
               << QString(
                      "CREATE TRIGGER %1_append_only BEFORE UPDATE OR DELETE ON %1 FOR EACH ROW "
                      "EXECUTE FUNCTION kestrix_refuse_change()")
                      .arg(table)
               << QString("DROP TRIGGER IF EXISTS %1_no_truncate ON %1").arg(table)
               << QString("CREATE TRIGGER %1_no_truncate BEFORE TRUNCATE ON %1 FOR EACH STATEMENT "
                          "EXECUTE FUNCTION kestrix_refuse_change()")
                      .arg(table);
    }
    grants << "DROP TRIGGER IF EXISTS events_signer ON events"
           << "CREATE TRIGGER events_signer BEFORE INSERT ON events FOR EACH ROW "
              "EXECUTE FUNCTION kestrix_check_signer()";
    return grants;
}

void RequireServer(Archive& archive) {
    if (archive.Database().GetEngine() != Engine::kPostgres) {
        throw ArchiveError("setting up a server needs an archive url of a PostgreSQL server; \"" +
                           archive.Place() + "\" is an SQLite file");
    }
}

} // namespace

std::string GroupOfRole(const std::string& role) {
    if (role == "operator") {
        return kOperatorGroup;
    }
    if (role == "reviewer") {
        return kReviewerGroup;
    }
    return role == "admin" ? kAdminGroup : "";
}

void SetUpServer(Archive& archive) {
    RequireServer(archive);
    ArchiveDatabase& database = archive.Database();
    WriteTransaction transaction(database);
    // Each group may do what the one before may.
    CreateGroup(database, kOperatorGroup, {});
    CreateGroup(database, kReviewerGroup, {});
    CreateGroup(database, kAdminGroup, kReviewerGroup);
    database.Run(kRefuseChange);
    database.Run(kRefuseSigner);
    for (const QString& statement : Grants()) {
        database.Run(statement);
    }
    transaction.Commit();
}

void AddServerUser(Archive& archive, const std::string& name, const std::string& group,
                   const std::string& password, const std::string& fullName) {
    RequireServer(archive);
    static const QRegularExpression kRoleName("^[a-z_][a-z0-9_]{0,62}$");
    const QString role = QString::fromStdString(name);
    if (!kRoleName.match(role).hasMatch()) {
        throw ArchiveError("\"" + name +
                           "\" is no user name for the server: lower-case letters, digits and "
                           "underscores, at most 63");
    }
    ArchiveDatabase& database = archive.Database();
    WriteTransaction transaction(database);
    const bool exists =
        database.Single("SELECT COUNT(*) FROM pg_roles WHERE rolname = ?", {role}).toInt() > 0;
    database.Run((exists ? "ALTER ROLE " : "CREATE ROLE ") + role + " LOGIN PASSWORD " +
                 Quoted(ScramVerifier(password)));
    database.Run("GRANT " + QString::fromStdString(group) + " TO " + role);
    if (!fullName.empty()) {
        database.Run("COMMENT ON ROLE " + role + " IS " + Quoted(fullName));
    }
    ArchiveEvent added;
    added.kind = kEventUserAdded;
    added.details =
        nlohmann::ordered_json{{"user", name}, {"group", group}, {"name", fullName}}.dump(
            -1, ' ', false, nlohmann::json::error_handler_t::replace);
    AppendEvent(database, std::move(added));
    transaction.Commit();
}

} // namespace kestrix::archive

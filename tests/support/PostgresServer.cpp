#include "support/PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace test_support {

namespace {

constexpr const char* kBinFolder = "/usr/lib/postgresql/15/bin/";

int FreeLoopbackPort() {
    const int sock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    int port = 0;
    if (bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(sock);
    return port;
}

// Runs a server program, as the postgres user when this process is root.
bool RunTool(const QString& tool, const QStringList& arguments, std::string& why) {
    QProcess process;
    QStringList command{QString(kBinFolder) + tool};
    command << arguments;
    if (geteuid() == 0) {
        command = QStringList{"-u", "postgres", "--"} + command;
        process.start("runuser", command);
    } else {
        process.start(command.takeFirst(), command);
    }
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        why =
            tool.toStdString() + " failed: " +
            QString::fromLocal8Bit(process.readAllStandardError() + process.readAllStandardOutput())
                .trimmed()
                .toStdString();
        return false;
    }
    return true;
}

// Members of kPasswordRole log in with their password over TCP; everyone else is trusted.
bool RequirePasswords(const QString& data, std::string& why) {
    QFile rules(data + "/pg_hba.conf");
    if (!rules.open(QIODevice::ReadOnly)) {
        why = "pg_hba.conf cannot be read";
        return false;
    }
    const QByteArray trusted = rules.readAll();
    rules.close();
    const QByteArray first =
        QByteArray("host all +") + PostgresServer::kPasswordRole + " 127.0.0.1/32 scram-sha-256\n";
    if (!rules.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        rules.write(first + trusted) != first.size() + trusted.size()) {
        why = "pg_hba.conf cannot be written";
        return false;
    }
    return true;
}

} // namespace

PostgresServer* PostgresServer::Shared(std::string& why) {
    static std::unique_ptr<PostgresServer> server;
    static std::string failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
        server.reset(new PostgresServer);
        if (!server->Start(failure)) {
            server.reset();
        }
    }
    why = failure;
    return server.get();
}

bool PostgresServer::Start(std::string& why) {
    if (!QFile::exists(QString(kBinFolder) + "initdb")) {
        why = std::string("PostgreSQL 15 server programs are not installed (") + kBinFolder + ")";
        return false;
    }
    if (!folder_.isValid()) {
        why = "no temporary folder";
        return false;
    }
    if (geteuid() == 0) {
        const passwd* postgres = getpwnam("postgres");
        if (postgres == nullptr || chown(folder_.path().toLocal8Bit().constData(), postgres->pw_uid,
                                         postgres->pw_gid) != 0) {
            why = "the temporary folder cannot be given to the postgres user";
            return false;
        }
    }
    dataFolder_ = folder_.filePath("data").toStdString();
    port_ = FreeLoopbackPort();
    const QString data = QString::fromStdString(dataFolder_);
    if (!RunTool("initdb", {"-D", data, "-A", "trust", "-U", "postgres", "-E", "UTF8", "--no-sync"},
                 why)) {
        return false;
    }
    if (!RequirePasswords(data, why)) {
        return false;
    }
    const QString options = QString("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                                .arg(port_)
                                .arg(folder_.path());
    running_ = RunTool(
        "pg_ctl", {"-D", data, "-o", options, "-l", folder_.filePath("log"), "-w", "start"}, why);
    return running_;
}

PostgresServer::~PostgresServer() {
    if (running_) {
        std::string ignored;
        RunTool("pg_ctl", {"-D", QString::fromStdString(dataFolder_), "-m", "immediate", "stop"},
                ignored);
    }
}

std::string PostgresServer::NewDatabase() {
    const std::string name = "archive_" + std::to_string(++databases_);
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase("QPSQL", "postgres-admin");
        admin.setHostName("127.0.0.1");
        admin.setPort(port_);
        admin.setUserName("postgres");
        admin.setDatabaseName("postgres");
        if (admin.open()) {
            QSqlQuery(admin).exec(QString::fromStdString("CREATE DATABASE " + name));
        }
        admin.close();
    }
    QSqlDatabase::removeDatabase("postgres-admin");
    return "postgresql://postgres@127.0.0.1:" + std::to_string(port_) + "/" + name;
}

} // namespace test_support

#pragma once

// A PostgreSQL server of the test's own: initdb and pg_ctl of Debian's postgresql package in a
// temporary folder, listening on a free loopback port, stopped when the test program ends.
// The server refuses to run as root, so as root it runs as the postgres user. Everyone logs in
// without a password except the members of kPasswordRole.

#include <QTemporaryDir>
#include <memory>
#include <string>

namespace test_support {

class PostgresServer {
public:
    // The one server of this test program, started on first use; null with the reason in
    // `why` when it cannot start.
    static PostgresServer* Shared(std::string& why);

    static constexpr const char* kPasswordRole = "password_users";

    ~PostgresServer();

    // A new empty database's url, postgresql://postgres@127.0.0.1:PORT/NAME.
    std::string NewDatabase();

private:
    PostgresServer() = default;
    bool Start(std::string& why);

    QTemporaryDir folder_;
    std::string dataFolder_;
    int port_ = 0;
    int databases_ = 0;
    bool running_ = false;
};

} // namespace test_support

#pragma once

// kestrix-cli archive setup-server: a shared PostgreSQL archive set up by its owner, and users
// added to the operator, reviewer or admin group.

#include <CLI/CLI.hpp>
#include <string>

namespace kestrix::archive {
class Archive;
}

namespace kestrix::cli {

struct ServerSetupOptions {
    std::string addUser;
    std::string role;
    std::string fullName;
    bool passwordStdin = false;
};

void RegisterServerSetup(CLI::App& command, ServerSetupOptions& options);

int RunServerSetup(archive::Archive& archive, const ServerSetupOptions& options);

} // namespace kestrix::cli

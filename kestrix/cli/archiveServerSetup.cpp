#include "kestrix/cli/archiveServerSetup.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/serverSetup.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/passwordInput.h"

namespace kestrix::cli {

void RegisterServerSetup(CLI::App& command, ServerSetupOptions& options) {
    CLI::Option* user =
        command.add_option("--add-user", options.addUser, "a server login role to add or change")
            ->type_name("NAME");
    CLI::Option* role = command.add_option("--role", options.role, "the new user's group")
                            ->check(CLI::IsMember({"operator", "reviewer", "admin"}));
    user->needs(role);
    role->needs(user);
    command
        .add_option("--full-name", options.fullName,
                    "the new user's full name, which signatures show")
        ->needs(user);
    command
        .add_flag("--password-stdin", options.passwordStdin,
                  "read the new user's password from the first line of standard input")
        ->needs(user);
}

int RunServerSetup(archive::Archive& archive, const ServerSetupOptions& options) {
    archive::SetUpServer(archive);
    if (options.addUser.empty()) {
        ReportNote("set up " + archive.Place() + ": groups " + archive::kOperatorGroup + ", " +
                   archive::kReviewerGroup + " and " + archive::kAdminGroup);
        return kExitOk;
    }
    std::string problem;
    const std::optional<std::string> password =
        ReadPassword(options.passwordStdin, "Password of the new user " + options.addUser, problem);
    if (!password) {
        return Fail(kExitUsage, problem);
    }
    archive::AddServerUser(archive, options.addUser, archive::GroupOfRole(options.role), *password,
                           options.fullName);
    ReportNote("added " + options.addUser + " to " + archive::GroupOfRole(options.role));
    return kExitOk;
}

} // namespace kestrix::cli

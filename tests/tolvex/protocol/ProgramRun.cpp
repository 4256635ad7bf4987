#include "ProgramRun.h"

#include "support/FileBytes.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tolvex::test {

ProgramOutcome RunProgram(const std::string& path, std::vector<std::string> args) {
    char outPath[] = "/tmp/tolvex-program-out-XXXXXX";
    char errPath[] = "/tmp/tolvex-program-err-XXXXXX";
    const int out = mkstemp(outPath);
    const int err = mkstemp(errPath);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    args.insert(args.begin(), path);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    ProgramOutcome outcome;
    pid_t pid;
    if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out);
    close(err);
    outcome.out = test_support::ReadFileBytes(outPath);
    outcome.err = test_support::ReadFileBytes(errPath);
    unlink(outPath);
    unlink(errPath);
    return outcome;
}

} // namespace tolvex::test

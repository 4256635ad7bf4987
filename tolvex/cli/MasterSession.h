#pragma once

#include "CtlOptions.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <tolvex/tolvex.h>

namespace tolvex::cli {

// One run of tolvexctl as a host of the control: configure, connect, send the request (once or
// polled) and print what comes back.
class MasterSession {
public:
    MasterSession(std::ostream& out, std::ostream& err);
    MasterSession(const MasterSession&) = delete;
    MasterSession& operator=(const MasterSession&) = delete;
    ~MasterSession();

    int Run(const CtlOptions& options);

private:
    struct Completion {
        bool arrived = false;
        short error = 0;
    };

    // Each gives the exit code when the run must end there.
    std::optional<int> Configure(const CtlOptions& options);
    std::optional<int> ConfigureTarget(const Target& target);
    std::optional<int> ConfigureTcp(const std::string& hostAndPort);
    void FillWriteBuffer(short handle, const CtlOptions& options);
    bool DefineRequest(short handle, int32_t rate, const CtlOptions& options);
    bool AwaitCompletion(int waitMs);
    int ReportError(short code);
    int ReportUsage(const char* message);

    static void OnResultOk(void* context, short handle);
    static void OnResultError(void* context, short handle, short error);

    std::ostream& out_;
    std::ostream& err_;
    tolvex_control* control_;
    Completion completion_;
};

} // namespace tolvex::cli

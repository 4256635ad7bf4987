#pragma once

// The options that choose the instrument: --port DEVICE|N and --address N|auto, with the
// configuration's port and address as defaults and the choice remembered in it.

#include "kestrix/cli/CliCommand.h"
#include "kestrix/instrument/InstrumentIdentity.h"
#include "kestrix/shell/modConfig.h"

#include <optional>
#include <string>

namespace kestrix::cli {

struct InstrumentChoice {
    int port = 1;
    int address = 0;    // 0: auto-detect
    std::string device; // a device path given for the port, which is bound to it
};

class InstrumentOptions {
public:
    void Register(CLI::App& command);
    // The port number to use (a device path is bound to port 1) and the address; nullopt with
    // the reason on stderr for a choice that cannot be used.
    std::optional<InstrumentChoice> Resolve(const modConfig::ConfigStore& store) const;

private:
    std::optional<std::string> port_;
    std::optional<std::string> address_;
};

// Settings 0 and 1 take the choice, and a device path is bound to its port in [ports], so the
// next command without --port reaches the same device; the file is written as at the program's end.
// A file that cannot be written is said on stderr; the command goes on.
void RememberChoice(modConfig::ConfigStore& store, const InstrumentChoice& choice);

// "Instrument :", "Serial # :", "Address :" and "Data Records :" lines and what else step 3 knows.
std::string IdentityLines(const instrument::InstrumentIdentity& identity, int address);

} // namespace kestrix::cli

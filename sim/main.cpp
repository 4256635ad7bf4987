#include "HelpFormatter.h"
#include "Instrument.h"
#include "LineSession.h"
#include "Presets.h"
#include "PtyServer.h"
#include "ScenarioJson.h"
#include "StateDump.h"

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

using namespace kestrix::sim;

constexpr int kExitUsage = 2;

constexpr const char* kDescription =
    "kestrix-sim: a simulated particle counter on a pseudo-terminal.\n\n"
    "It opens a raw pseudo-terminal, links it at --link, prints \"READY <link>\" and serves a\n"
    "Modbus ASCII slave (functions 3, 4 and 6) at the scenario's address until SIGINT or\n"
    "SIGTERM; then it removes the link and writes --dump-state. Clients may close and reopen\n"
    "the port. Command 12 to register 1 makes a busy instrument idle; command 16 switches the\n"
    "line to the fast transfer, where <grNNNN,MMMM> is answered with 48-byte records and an\n"
    "8-bit sum, until a Modbus frame arrives again.\n\n"
    "A scenario is a JSON object with the optional members \"preset\" (starting point),\n"
    "\"identity\" (model_name, model_type, serial, instrument_code, map_version,\n"
    "flow_rate_x100, flow_unit, density_x1000, fast_transfer, busy, address), \"channels\"\n"
    "(36 objects: tag, unit, enabled, alarm, threshold), \"calibration\" (up to 4 objects:\n"
    "engineering_low, engineering_high, raw_low, raw_high), \"location_names\" (up to 200\n"
    "texts of at most 8 printable Latin-1 characters), and either \"records\" (objects:\n"
    "time, sample_time, location, status, particle_enable, analog_enable, counts[16],\n"
    "analog[16]) or \"generate\" (seed, count up to 65535, start_time, sample_time,\n"
    "interval). Texts are stored as 8-bit characters; a scenario file takes at most 512 MB.\n\n"
    "Fault counts number the answers due, Modbus replies and fast chunks alike, from 1.";

struct Options {
    std::string preset;
    std::string scenarioFile;
    std::string dumpState;
    ServeOptions serve;
    FaultOptions faults;
    int turnaroundMs = 0;
    bool listPresets = false;
};

void DefineOptions(CLI::App& app, Options& options) {
    auto* preset = app.add_option("--preset", options.preset, "built-in scenario (--list-presets)");
    app.add_option("--scenario", options.scenarioFile, "scenario JSON file")
        ->check(CLI::ExistingFile)
        ->excludes(preset);
    app.add_option("--link", options.serve.linkPath, "symbolic link to the terminal's device");
    app.add_option("--dump-state", options.dumpState,
                   "write location names, density and busy flag as JSON here on exit");
    app.add_flag("--pace", options.serve.pace,
                 "send at the line rate: 19200 bit/s Modbus, 115200 bit/s fast transfer");
    app.add_option("--turnaround", options.turnaroundMs, "pause before each answer, ms")
        ->check(CLI::Range(0, 10000));
    app.add_option("--drop-first", options.faults.dropFirst, "ignore the first K requests");
    app.add_option("--drop-every", options.faults.dropEvery, "ignore every K-th request");
    app.add_option("--corrupt-every", options.faults.corruptEvery,
                   "spoil the checksum of every K-th answer");
    app.add_option("--hang-up-after", options.faults.hangUpAfter,
                   "after K answers, close the terminal at the next request and exit");
    app.add_flag("--silent", options.faults.silent, "never answer");
    app.add_flag("--list-presets", options.listPresets, "print the preset names and exit");
}

Scenario ChooseScenario(const Options& options) {
    if (!options.scenarioFile.empty()) {
        return LoadScenarioFile(options.scenarioFile);
    }
    const std::string name = options.preset.empty() ? "standard" : options.preset;
    auto preset = FindPreset(name);
    if (!preset) {
        throw ScenarioError("--preset: no preset is called \"" + name + "\"");
    }
    return std::move(*preset);
}

int StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return signalfd(-1, &signals, SFD_CLOEXEC);
}

int Run(const Options& options) {
    Instrument instrument(ChooseScenario(options));
    const int stopFd = StopSignals();
    if (stopFd < 0) {
        std::cerr << "kestrix-sim: cannot watch for signals\n";
        return 1;
    }
    int status = 0;
    {
        PtyServer server(options.serve);
        LineSession session(instrument, options.faults);
        std::cout << "READY " << options.serve.linkPath << std::endl;
        if (server.Serve(session, stopFd) == PtyServer::Ending::HungUp) {
            std::cerr << "kestrix-sim: hung up after " << options.faults.hangUpAfter
                      << " answers\n";
        }
    }
    std::string error;
    if (!options.dumpState.empty() && !WriteStateFile(instrument, options.dumpState, error)) {
        std::cerr << "kestrix-sim: " << error << "\n";
        status = 1;
    }
    ::close(stopFd);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app(kDescription, "kestrix-sim");
    app.formatter(std::make_shared<tolvex::cli::HelpFormatter>());
    app.set_version_flag("--version", "kestrix-sim " KESTRIX_VERSION);
    Options options;
    DefineOptions(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Usage errors end with 2, as in the other programs; --help with 0.
        return app.exit(error) == 0 ? 0 : kExitUsage;
    }
    options.serve.turnaround = std::chrono::milliseconds(options.turnaroundMs);
    if (options.listPresets) {
        for (const auto& name : PresetNames()) {
            std::cout << name << "\n";
        }
        return 0;
    }
    if (options.serve.linkPath.empty()) {
        std::cerr << "kestrix-sim: --link is required\n";
        return kExitUsage;
    }
    try {
        return Run(options);
    } catch (const std::exception& error) {
        std::cerr << "kestrix-sim: " << error.what() << "\n";
        return 1;
    }
}

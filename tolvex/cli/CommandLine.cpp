#include "CommandLine.h"

#include "HelpFormatter.h"

#include <CLI/CLI.hpp>
#include <limits>
#include <map>

namespace tolvex::cli {
namespace {

const std::map<std::string, ValueFormat> kFormats{
    {"int", ValueFormat::Int},
    {"uint", ValueFormat::Uint},
    {"hex", ValueFormat::Hex},
    {"long", ValueFormat::Long},
    {"longswap", ValueFormat::LongSwap},
    {"float", ValueFormat::Float},
    {"floatswap", ValueFormat::FloatSwap},
    {"double", ValueFormat::Double},
    {"doubleswap", ValueFormat::DoubleSwap},
};

const CLI::Range kAddress(0, 65535);
const CLI::Range kRegisterValue(-32768, 65535);
const CLI::Range kBit(0, 1);
constexpr const char* kFirstAddress = "the first address, 0-65535";
constexpr const char* kRegisterText = "register value, -32768-65535";

void AddConnectionOptions(CLI::App& app, CtlOptions& o) {
    auto* port = app.add_option("--port", o.target.port, "Port number 1..32")
                     ->type_name("N")
                     ->check(CLI::Range(1, 32));
    auto* device = app.add_option("--device", o.target.device, "Serial device path, used as port 1")
                       ->type_name("PATH");
    auto* tcp =
        app.add_option("--tcp", o.target.tcp, "Modbus/TCP server")->type_name("HOST[:PORT]");
    port->excludes(device, tcp);
    device->excludes(tcp);
    app.add_option("--mode", o.mode, "Serial framing")
        ->type_name("rtu|ascii")
        ->check(CLI::IsMember({"rtu", "ascii"}));
    app.add_option("--baud", o.baud,
                   "Bit rate: 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, "
                   "57600 or 115200")
        ->type_name("RATE")
        ->check(CLI::IsMember(
            {300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200}));
    app.add_option("--parity", o.parity, "Parity bit")
        ->type_name("none|odd|even")
        ->check(CLI::IsMember({"none", "odd", "even"}));
    app.add_option("--data-bits", o.dataBits, "Data bits")
        ->type_name("7|8")
        ->check(CLI::IsMember({7, 8}));
    app.add_option("--stop-bits", o.stopBits, "Stop bits")
        ->type_name("1|2")
        ->check(CLI::IsMember({1, 2}));
    app.add_option("--timeout", o.timeoutMs, "Reply timeout in ms (300..10000)")->type_name("MS");
    app.add_option("--rts", o.rts, "RTS line control")
        ->type_name("disable|enable|toggle")
        ->check(CLI::IsMember({"disable", "enable", "toggle"}));
    app.add_option("--slave", o.slave, "Slave address 0..255")
        ->type_name("N")
        ->check(CLI::Range(0, 255));
}

void AddReadOptions(CLI::App& app, CtlOptions& o) {
    app.add_option_function<std::string>(
           "--as",
           [&o](const std::string& name) {
               o.format = kFormats.at(name);
               o.formatGiven = true;
           },
           "How register values print: int, uint, hex, long, longswap, float, floatswap, "
           "double or doubleswap")
        ->type_name("FORMAT")
        ->check(CLI::IsMember({"int", "uint", "hex", "long", "longswap", "float", "floatswap",
                               "double", "doubleswap"}));
    app.add_option("--poll", o.pollMs, "Repeat the read every MS milliseconds (50..600000)")
        ->type_name("MS")
        ->check(CLI::Range(50, 600000));
    app.add_option("--count", o.count, "Number of polled reads")
        ->type_name("N")
        ->check(CLI::Range(1, std::numeric_limits<int>::max()));
}

CLI::App* AddCommand(CLI::App& app, const char* name, Command command, CtlOptions& o,
                     const char* help) {
    CLI::App* sub = app.add_subcommand(name, help);
    sub->fallthrough();
    sub->callback([&o, command] { o.command = command; });
    return sub;
}

void AddReadCommand(CLI::App& app, const char* name, Command command, CtlOptions& o,
                    const char* help) {
    CLI::App* sub = AddCommand(app, name, command, o, help);
    sub->add_option("ADDR", o.address, kFirstAddress)->required()->check(kAddress);
    sub->add_option("QTY", o.quantity, "how many to read: 1-2000, at most 125 registers")
        ->required()
        ->check(CLI::Range(1, 2000));
}

void AddCommands(CLI::App& app, CtlOptions& o) {
    AddReadCommand(app, "read-holding", Command::ReadHolding, o, "Read holding registers");
    AddReadCommand(app, "read-input", Command::ReadInput, o, "Read input registers");
    AddReadCommand(app, "read-coils", Command::ReadCoils, o, "Read coils");
    AddReadCommand(app, "read-discrete", Command::ReadDiscrete, o, "Read discrete inputs");

    CLI::App* single =
        AddCommand(app, "write-register", Command::WriteRegister, o, "Write one holding register");
    single->add_option("ADDR", o.address, "the register's address, 0-65535")
        ->required()
        ->check(kAddress);
    single->add_option("VALUE", o.values, kRegisterText)
        ->required()
        ->expected(1)
        ->check(kRegisterValue);

    CLI::App* coil = AddCommand(app, "write-coil", Command::WriteCoil, o, "Write one coil");
    coil->add_option("ADDR", o.address, "the coil's address, 0-65535")->required()->check(kAddress);
    coil->add_option("STATE", o.values, "0 (off) or 1 (on)")->required()->expected(1)->check(kBit);

    CLI::App* registers =
        AddCommand(app, "write-registers", Command::WriteRegisters, o, "Write holding registers");
    registers->add_option("ADDR", o.address, kFirstAddress)->required()->check(kAddress);
    registers->add_option("V", o.values, kRegisterText)->required()->check(kRegisterValue);

    CLI::App* coils = AddCommand(app, "write-coils", Command::WriteCoils, o, "Write coils");
    coils->add_option("ADDR", o.address, kFirstAddress)->required()->check(kAddress);
    coils->add_option("B", o.values, "one 0 or 1 per coil")->required()->check(kBit);

    CLI::App* both = AddCommand(app, "read-write", Command::ReadWrite, o,
                                "Write registers, then read registers, in one request");
    both->add_option("RADDR", o.address, "first register to read, 0-65535")
        ->required()
        ->check(kAddress);
    both->add_option("RQTY", o.quantity, "how many registers to read, 1-125")
        ->required()
        ->check(CLI::Range(1, 125));
    both->add_option("WADDR", o.writeAddress, "first register to write, 0-65535")
        ->required()
        ->check(kAddress);
    both->add_option("V", o.values, kRegisterText)->required()->check(kRegisterValue);
}

// Combinations the parser cannot judge by itself.
void CheckCombination(const CtlOptions& o) {
    if (o.formatGiven && !IsRegisterRead(o.command)) {
        throw CLI::ValidationError("--as", "applies to register reads only");
    }
    if (o.quantity % RegistersPerValue(o.format) != 0) {
        throw CLI::ValidationError("--as", "the quantity does not divide into whole values");
    }
    if ((o.pollMs || o.count) && !IsRead(o.command)) {
        throw CLI::ValidationError("--poll", "applies to reads only");
    }
    if (o.count && !o.pollMs) {
        throw CLI::ValidationError("--count", "needs --poll");
    }
}

} // namespace

std::optional<int> ParseCommandLine(int argc, char** argv, CtlOptions& options) {
    CLI::App app("Modbus master for people and scripts", "tolvexctl");
    app.formatter(std::make_shared<HelpFormatter>());
    app.set_version_flag("--version", "tolvexctl " TOLVEX_VERSION);
    AddConnectionOptions(app, options);
    AddReadOptions(app, options);
    AddCommands(app, options);
    app.require_subcommand(1);
    try {
        app.parse(argc, argv);
        CheckCombination(options);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitSuccess : kExitUsage;
    }
    return std::nullopt;
}

} // namespace tolvex::cli

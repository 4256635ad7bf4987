#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvex::cli {

enum ExitCode { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

enum class Command {
    ReadHolding,
    ReadInput,
    ReadCoils,
    ReadDiscrete,
    WriteRegister,
    WriteCoil,
    WriteRegisters,
    WriteCoils,
    ReadWrite,
};

enum class ValueFormat { Int, Uint, Hex, Long, LongSwap, Float, FloatSwap, Double, DoubleSwap };

// Where the control connects: a port number, a device bound to port 1, or a TCP server.
struct Target {
    std::optional<int> port;
    std::optional<std::string> device;
    std::optional<std::string> tcp;
};

struct CtlOptions {
    Target target;
    std::optional<std::string> mode;
    std::optional<int> baud;
    std::optional<std::string> parity;
    std::optional<int> dataBits;
    std::optional<int> stopBits;
    std::optional<int> timeoutMs;
    std::optional<std::string> rts;
    int slave = 1;

    Command command = Command::ReadHolding;
    int address = 0;
    int quantity = 0;
    int writeAddress = 0;
    std::vector<int> values;

    ValueFormat format = ValueFormat::Int;
    bool formatGiven = false;
    std::optional<int> pollMs;
    std::optional<int> count;
};

bool IsRead(Command command);
bool IsRegisterRead(Command command);
// 1 for plain registers, 2 for longs and floats, 4 for doubles.
int RegistersPerValue(ValueFormat format);

} // namespace tolvex::cli

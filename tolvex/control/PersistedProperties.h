#pragma once

#include "tolvex/tolvex_constants.h"

#include <array>
#include <string>

namespace tolvex {

// The eleven properties a host keeps with its form, in their exchange order, with defaults.
struct PersistedProperties {
    short connection = TOLVEX_CONNECTION_PORT1;
    short baudRate = TOLVEX_B9600;
    short dataBits = TOLVEX_BITS_EIGHT;
    short parity = TOLVEX_PARITY_NONE;
    short stopBits = TOLVEX_STOP_BITS_ONE;
    short timeout = 1000;
    short protocolMode = TOLVEX_MODE_RTU;
    std::array<short, 4> ipAddr{0, 0, 0, 0};
};

// One "Name=value" line per property, in exchange order.
std::string SaveProperties(const PersistedProperties& properties);

// Reads the text SaveProperties writes; missing names take their defaults, unknown names and
// blank lines are skipped. Values are taken as they are (no range check) but must be 16-bit
// integers. On a malformed line, error describes it and false is returned with out untouched.
bool LoadProperties(const std::string& text, PersistedProperties& out, std::string& error);

} // namespace tolvex

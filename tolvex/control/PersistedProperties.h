#pragma once

#include <array>
#include <string>

namespace tolvex {

// The eleven properties a host keeps with its form, in their exchange order, with defaults.
struct PersistedProperties {
    short connection = 1;
    short baudRate = 5;
    short dataBits = 1;
    short parity = 0;
    short stopBits = 0;
    short timeout = 1000;
    short protocolMode = 0;
    std::array<short, 4> ipAddr{0, 0, 0, 0};
};

// One "Name=value" line per property, in exchange order.
std::string SaveProperties(const PersistedProperties& properties);

// Reads the text SaveProperties writes; missing names take their defaults, unknown names and
// blank lines are skipped. Values are taken as they are (no range check) but must be 16-bit
// integers. On a malformed line, error describes it and false is returned with out untouched.
bool LoadProperties(const std::string& text, PersistedProperties& out, std::string& error);

} // namespace tolvex

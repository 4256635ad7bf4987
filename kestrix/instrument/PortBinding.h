#pragma once

// Which device each port number 1..32 stands for: first the [ports] section of the
// configuration file (key COM<n>, value a device path; a pseudo-terminal or a by-id link works
// the same), then the serial devices the system reports take the lowest free numbers in the
// order of their device names, so a number stays with its device from one run to the next.

#include <map>
#include <string>
#include <vector>

namespace kestrix {
class IniFile;
} // namespace kestrix

namespace kestrix::instrument {

struct SerialDevice {
    std::string path;
    std::string description; // as the system names it; may be empty
    bool operator==(const SerialDevice&) const = default;
};

struct BoundPort {
    int port = 0;
    SerialDevice device;
    bool operator==(const BoundPort&) const = default;
};

// The [ports] entries that name a device, by port number.
std::map<int, std::string> ConfiguredPorts(const IniFile& config);

// Binds PORT to DEVICE in the [ports] section of the configuration file, for the next runs.
bool RememberPortDevice(const std::string& configPath, int port, const std::string& device);

// The serial devices the system reports: USB, ACM and on-board ports.
std::vector<SerialDevice> ReportedSerialDevices();

// The configured ports, then the reported devices not configured already (the same device
// reached through a link counts as configured and lends it its description), by port number.
std::vector<BoundPort> BindPorts(const std::map<int, std::string>& configured,
                                 std::vector<SerialDevice> reported);

// Reads [ports] of the configuration file, binds them and the reported devices, and enters the
// result into the port table of the Modbus master.
std::vector<BoundPort> BindSystemPorts(const std::string& configPath);

} // namespace kestrix::instrument

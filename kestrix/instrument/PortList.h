#pragma once

// The port and address lists of the connection step.

#include "kestrix/instrument/PortBinding.h"

#include <string>
#include <vector>

namespace kestrix::instrument {

struct ListEntry {
    std::string text;
    int data = 0;
    // False for a port listed although it cannot be opened; reason says why and what to do.
    bool canOpen = true;
    std::string reason;
};

struct ListChoice {
    std::vector<ListEntry> entries;
    int selected = -1; // index into entries; -1 for none
};

enum class PortAccess { Usable, NoPermission, Unusable };

struct PortProbe {
    PortAccess access = PortAccess::Usable;
    // In the system's words ("Device or resource busy"); for a lack of permission, the group
    // that owns the device and what the user must do.
    std::string problem;
};

// Whether the device can be opened for reading and writing as a serial line and is not held
// exclusively.
PortProbe ProbeDevice(const std::string& device);

// True when the port's device passes ProbeDevice.
bool ProbePort(int port);
// Why ProbePort fails; empty when it does not.
std::string PortOpenProblem(int port);

// The ports among 1..32 that can be opened, as "COM <n> (<device>)" or, with the system's
// description, "COM <n> (<device>, <description>)". Of the bound ports, one that exists but
// may not be opened is listed too, with " (no permission)" and canOpen false; a device bound to
// one number is not listed again under the number whose default it also is. The configured
// port is selected, else the first entry.
ListChoice BuildPortList(int configuredPort, const std::vector<BoundPort>& bound = {});

// "<Auto-Detect>" (0) and "1" to "99"; the configured address is selected when it is one of them.
ListChoice BuildAddressList(int configuredAddress);

} // namespace kestrix::instrument

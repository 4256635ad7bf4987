#pragma once

// The port and address lists of the connection step.

#include <string>
#include <vector>

namespace kestrix {

struct ListEntry {
    std::string text;
    int data = 0;
};

struct ListChoice {
    std::vector<ListEntry> entries;
    int selected = -1; // index into entries; -1 for none
};

// True when the port's device can be opened for reading and writing as a serial line and is not
// held exclusively.
bool ProbePort(int port);
// Why ProbePort fails, in the system's words ("Device or resource busy"); empty when it does not.
std::string PortOpenProblem(int port);

// The present ports among 1..32 as "COM <n> (<device>)"; the configured port is selected, else
// the first entry.
ListChoice BuildPortList(int configuredPort);

// "<Auto-Detect>" (0) and "1" to "99"; the configured address is selected when it is one of them.
ListChoice BuildAddressList(int configuredAddress);

} // namespace kestrix

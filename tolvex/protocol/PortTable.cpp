#include "tolvex/PortTable.h"

#include <array>
#include <mutex>

namespace tolvex {
namespace {

struct PortTable {
    std::mutex mutex;
    std::array<std::string, kLastPort> paths; // empty: the default device
};

PortTable& Table() {
    static PortTable table;
    return table;
}

bool IsValidPort(int port) {
    return port >= kFirstPort && port <= kLastPort;
}

} // namespace

bool SetPortDevice(int port, const std::string& devicePath) {
    if (!IsValidPort(port)) {
        return false;
    }
    PortTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.paths[port - kFirstPort] = devicePath;
    return true;
}

std::string GetPortDevice(int port) {
    if (!IsValidPort(port)) {
        return {};
    }
    PortTable& table = Table();
    std::lock_guard lock(table.mutex);
    const std::string& path = table.paths[port - kFirstPort];
    return path.empty() ? "/dev/ttyS" + std::to_string(port - kFirstPort) : path;
}

} // namespace tolvex

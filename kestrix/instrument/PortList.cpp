#include "kestrix/instrument/PortList.h"

#include "tolvex/PortTable.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace kestrix {

namespace {
constexpr int kLastAddress = 99;
}

std::string PortOpenProblem(int port) {
    const std::string device = tolvex::GetPortDevice(port);
    if (device.empty()) {
        return "no device is bound to it";
    }
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::strerror(errno);
    }
    std::string problem;
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        problem = std::string("not a serial line (") + std::strerror(errno) + ")";
    } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // The lock that the Modbus master takes while it has the port.
        problem = std::strerror(errno == EWOULDBLOCK ? EBUSY : errno);
    }
    ::close(fd);
    return problem;
}

bool ProbePort(int port) {
    return PortOpenProblem(port).empty();
}

ListChoice BuildPortList(int configuredPort) {
    ListChoice list;
    for (int port = tolvex::kFirstPort; port <= tolvex::kLastPort; ++port) {
        if (!ProbePort(port)) {
            continue;
        }
        if (port == configuredPort) {
            list.selected = static_cast<int>(list.entries.size());
        }
        list.entries.push_back(
            {"COM " + std::to_string(port) + " (" + tolvex::GetPortDevice(port) + ")", port});
    }
    if (!list.entries.empty() && list.selected < 0) {
        list.selected = 0;
    }
    return list;
}

ListChoice BuildAddressList(int configuredAddress) {
    ListChoice list;
    list.entries.push_back({"<Auto-Detect>", 0});
    for (int address = 1; address <= kLastAddress; ++address) {
        list.entries.push_back({std::to_string(address), address});
    }
    if (configuredAddress >= 0 && configuredAddress <= kLastAddress) {
        list.selected = configuredAddress;
    }
    return list;
}

} // namespace kestrix

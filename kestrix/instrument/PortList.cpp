#include "kestrix/instrument/PortList.h"

#include "kestrix/instrument/sessionTexts.h"
#include "tolvex/PortTable.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace kestrix::instrument {

namespace {

constexpr int kLastAddress = 99;

sessionTexts::PortOwner OwnerOf(const std::string& device) {
    struct stat status {};
    if (::stat(device.c_str(), &status) != 0) {
        return {};
    }
    const passwd* user = ::getpwuid(status.st_uid);
    const group* owningGroup = ::getgrgid(status.st_gid);
    constexpr mode_t kGroupReadWrite = S_IRGRP | S_IWGRP;
    return {user ? user->pw_name : std::to_string(status.st_uid),
            owningGroup ? owningGroup->gr_name : std::to_string(status.st_gid),
            (status.st_mode & kGroupReadWrite) == kGroupReadWrite};
}

PortProbe ProbeOpened(int fd) {
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        return {PortAccess::Unusable,
                std::string("not a serial line (") + std::strerror(errno) + ")"};
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // The lock that the Modbus master takes while it has the port.
        return {PortAccess::Unusable, std::strerror(errno == EWOULDBLOCK ? EBUSY : errno)};
    }
    return {};
}

ListEntry Entry(std::string text, int data) {
    ListEntry entry;
    entry.text = std::move(text);
    entry.data = data;
    return entry;
}

const BoundPort* FindBinding(const std::vector<BoundPort>& bound, int port) {
    const auto found = std::find_if(bound.begin(), bound.end(),
                                    [port](const BoundPort& b) { return b.port == port; });
    return found == bound.end() ? nullptr : &*found;
}

bool BoundElsewhere(const std::vector<BoundPort>& bound, int port, const std::string& device) {
    return std::any_of(bound.begin(), bound.end(), [&](const BoundPort& b) {
        return b.port != port && b.device.path == device;
    });
}

ListEntry PortEntry(int port, const std::string& device, const BoundPort* binding) {
    std::string text = "COM " + std::to_string(port) + " (" + device;
    if (binding && !binding->device.description.empty()) {
        text += ", " + binding->device.description;
    }
    return Entry(text + ")", port);
}

} // namespace

PortProbe ProbeDevice(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES) {
            return {PortAccess::NoPermission,
                    sessionTexts::NoPermissionText(device, OwnerOf(device))};
        }
        return {PortAccess::Unusable, std::strerror(errno)};
    }
    const PortProbe probe = ProbeOpened(fd);
    ::close(fd);
    return probe;
}

std::string PortOpenProblem(int port) {
    const std::string device = tolvex::GetPortDevice(port);
    if (device.empty()) {
        return "no device is bound to it";
    }
    return ProbeDevice(device).problem;
}

bool ProbePort(int port) {
    return PortOpenProblem(port).empty();
}

ListChoice BuildPortList(int configuredPort, const std::vector<BoundPort>& bound) {
    ListChoice list;
    for (int port = tolvex::kFirstPort; port <= tolvex::kLastPort; ++port) {
        const std::string device = tolvex::GetPortDevice(port);
        const BoundPort* binding = FindBinding(bound, port);
        if (!binding && BoundElsewhere(bound, port, device)) {
            continue;
        }
        const PortProbe probe = ProbeDevice(device);
        ListEntry entry = PortEntry(port, device, binding);
        if (probe.access == PortAccess::NoPermission && binding) {
            entry.text += sessionTexts::kNoPermissionSuffix;
            entry.canOpen = false;
            entry.reason = probe.problem;
        } else if (probe.access != PortAccess::Usable) {
            continue;
        }
        if (port == configuredPort) {
            list.selected = static_cast<int>(list.entries.size());
        }
        list.entries.push_back(std::move(entry));
    }
    if (!list.entries.empty() && list.selected < 0) {
        list.selected = 0;
    }
    return list;
}

ListChoice BuildAddressList(int configuredAddress) {
    ListChoice list;
    list.entries.push_back(Entry("<Auto-Detect>", 0));
    for (int address = 1; address <= kLastAddress; ++address) {
        list.entries.push_back(Entry(std::to_string(address), address));
    }
    if (configuredAddress >= 0 && configuredAddress <= kLastAddress) {
        list.selected = configuredAddress;
    }
    return list;
}

} // namespace kestrix::instrument

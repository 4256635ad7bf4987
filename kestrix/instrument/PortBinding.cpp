#include "kestrix/instrument/PortBinding.h"

#include "kestrix/ini/IniFile.h"
#include "tolvex/PortTable.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <filesystem>
#include <set>

namespace kestrix::instrument {

namespace {

constexpr const char* kPortsSection = "ports";
constexpr std::size_t kPathLength = 4096;

std::string CanonicalPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    return error ? path : canonical.string();
}

} // namespace

std::map<int, std::string> ConfiguredPorts(const IniFile& config) {
    std::map<int, std::string> ports;
    for (int port = tolvex::kFirstPort; port <= tolvex::kLastPort; ++port) {
        const std::string device =
            config.GetString(kPortsSection, "COM" + std::to_string(port), "", kPathLength);
        if (!device.empty()) {
            ports[port] = device;
        }
    }
    return ports;
}

bool RememberPortDevice(const std::string& configPath, int port, const std::string& device) {
    IniFile config(configPath);
    config.Load();
    return config.SetString(kPortsSection, "COM" + std::to_string(port), device) && config.Save();
}

std::vector<SerialDevice> ReportedSerialDevices() {
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        devices.push_back({info.systemLocation().toStdString(), info.description().toStdString()});
    }
    return devices;
}

std::vector<BoundPort> BindPorts(const std::map<int, std::string>& configured,
                                 std::vector<SerialDevice> reported) {
    std::sort(reported.begin(), reported.end(),
              [](const SerialDevice& a, const SerialDevice& b) { return a.path < b.path; });
    std::vector<BoundPort> bound;
    std::set<std::string> taken;
    for (const auto& [port, path] : configured) {
        SerialDevice device{path, ""};
        const std::string canonical = CanonicalPath(path);
        for (const SerialDevice& candidate : reported) {
            if (CanonicalPath(candidate.path) == canonical) {
                device.description = candidate.description;
            }
        }
        taken.insert(canonical);
        bound.push_back({port, device});
    }
    int next = tolvex::kFirstPort;
    for (const SerialDevice& device : reported) {
        if (!taken.insert(CanonicalPath(device.path)).second) {
            continue;
        }
        while (configured.count(next) != 0) {
            ++next;
        }
        if (next > tolvex::kLastPort) {
            break;
        }
        bound.push_back({next++, device});
    }
    std::sort(bound.begin(), bound.end(),
              [](const BoundPort& a, const BoundPort& b) { return a.port < b.port; });
    return bound;
}

std::vector<BoundPort> BindSystemPorts(const std::string& configPath) {
    IniFile config(configPath);
    config.Load();
    std::vector<BoundPort> bound = BindPorts(ConfiguredPorts(config), ReportedSerialDevices());
    for (const BoundPort& binding : bound) {
        tolvex::SetPortDevice(binding.port, binding.device.path);
    }
    return bound;
}

} // namespace kestrix::instrument

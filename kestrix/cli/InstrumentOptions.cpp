#include "kestrix/cli/InstrumentOptions.h"

#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/printableText.h"
#include "kestrix/instrument/PictureKey.h"
#include "kestrix/instrument/PortBinding.h"
#include "tolvex/PortTable.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

namespace kestrix::cli {

namespace {

constexpr int kDevicePathPort = 1;

std::optional<int> WholeNumber(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool IsAllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

} // namespace

void InstrumentOptions::Register(CLI::App& command) {
    command
        .add_option("--port", port_,
                    "serial device path (bound to port 1), or a port number 1-32 of the port "
                    "table (default: the configuration's com_port)")
        ->type_name("DEVICE|N");
    command
        .add_option("--address", address_,
                    "Modbus address 1-99, or auto to scan 1-99 (default: the configuration's "
                    "device_address)")
        ->type_name("N|auto");
}

std::optional<InstrumentChoice>
InstrumentOptions::Resolve(const modConfig::ConfigStore& store) const {
    InstrumentChoice choice;
    choice.port = store.GetConfigValue(modConfig::kComPort);
    choice.address = store.GetConfigValue(modConfig::kDeviceAddress);
    if (port_ && (WholeNumber(*port_) || IsAllDigits(*port_))) {
        // Too many digits for a number are out of range all the same.
        choice.port = WholeNumber(*port_).value_or(tolvex::kLastPort + 1);
    } else if (port_) {
        tolvex::SetPortDevice(kDevicePathPort, *port_);
        choice.port = kDevicePathPort;
        choice.device = *port_;
    }
    if (address_) {
        const auto number = WholeNumber(*address_);
        if (*address_ == "auto") {
            choice.address = 0;
        } else if (!number || *number < 1 || *number > 99) {
            Fail(kExitUsage, "--address must be a number 1-99 or auto, not \"" + *address_ + "\"");
            return std::nullopt;
        } else {
            choice.address = *number;
        }
    }
    if (choice.port < tolvex::kFirstPort || choice.port > tolvex::kLastPort) {
        Fail(kExitUsage,
             "port " + port_.value_or(std::to_string(choice.port)) + " is not one of 1-32");
        return std::nullopt;
    }
    return choice;
}

void RememberChoice(modConfig::ConfigStore& store, const InstrumentChoice& choice) {
    store.SetConfigValue(modConfig::kComPort, choice.port);
    store.SetConfigValue(modConfig::kDeviceAddress, choice.address);
    if (!store.SaveConfig() ||
        (!choice.device.empty() &&
         !instrument::RememberPortDevice(store.GetConfigPath(), choice.port, choice.device))) {
        ReportNote("the port and address were not stored: configuration file \"" +
                   store.GetConfigPath() + "\" cannot be written");
    }
}

// The instrument's own texts are shown escaped: they could hold terminal controls.
std::string IdentityLines(const instrument::InstrumentIdentity& identity, int address) {
    std::ostringstream lines;
    lines << "Instrument : " << PrintableText(identity.modelName) << '\n'
          << "Serial # : " << instrument::FormatSerialNumber(identity.serialNumber) << '\n'
          << "Address : " << address << '\n'
          << "Data Records : " << identity.recordCount << '\n'
          << "Model type : " << identity.modelType << '\n'
          << "Map version : " << identity.mapVersion << '\n'
          << "Flow rate : " << identity.flowRate << ' ' << PrintableText(identity.flowRateUnits)
          << '\n'
          << "Particle density : " << identity.particleDensity << " g/ml\n"
          << "Fast transfer : " << (identity.fastTransfer ? "yes" : "no") << '\n'
          << "Picture : " << PrintableText(instrument::PictureKey(identity.modelName)) << '\n';
    return lines.str();
}

} // namespace kestrix::cli

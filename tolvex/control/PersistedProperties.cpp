#include "PersistedProperties.h"

#include <charconv>
#include <sstream>
#include <string_view>

namespace tolvex {
namespace {

struct Field {
    const char* name;
    short PersistedProperties::*member;
};

constexpr std::array<Field, 7> kScalarFields{{
    {"Connection", &PersistedProperties::connection},
    {"BaudRate", &PersistedProperties::baudRate},
    {"DataBits", &PersistedProperties::dataBits},
    {"Parity", &PersistedProperties::parity},
    {"StopBits", &PersistedProperties::stopBits},
    {"Timeout", &PersistedProperties::timeout},
    {"ProtocolMode", &PersistedProperties::protocolMode},
}};

constexpr std::string_view kIpAddrPrefix = "IPAddr";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool ParseShort(std::string_view text, short& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

short* FieldNamed(std::string_view name, PersistedProperties& properties) {
    for (const Field& field : kScalarFields) {
        if (name == field.name) {
            return &(properties.*field.member);
        }
    }
    if (name.size() == kIpAddrPrefix.size() + 1 && name.starts_with(kIpAddrPrefix)) {
        const char digit = name.back();
        if (digit >= '1' && digit <= '4') {
            return &properties.ipAddr[digit - '1'];
        }
    }
    return nullptr;
}

} // namespace

std::string SaveProperties(const PersistedProperties& properties) {
    std::ostringstream text;
    for (const Field& field : kScalarFields) {
        text << field.name << '=' << properties.*field.member << '\n';
    }
    for (size_t i = 0; i < properties.ipAddr.size(); ++i) {
        text << kIpAddrPrefix << i + 1 << '=' << properties.ipAddr[i] << '\n';
    }
    return text.str();
}

bool LoadProperties(const std::string& text, PersistedProperties& out, std::string& error) {
    PersistedProperties loaded;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string_view content = Trim(line);
        if (content.empty()) {
            continue;
        }
        const auto equals = content.find('=');
        if (equals == std::string_view::npos) {
            error = "line " + std::to_string(number) + ": expected Name=value";
            return false;
        }
        short* field = FieldNamed(Trim(content.substr(0, equals)), loaded);
        if (field != nullptr && !ParseShort(Trim(content.substr(equals + 1)), *field)) {
            error = "line " + std::to_string(number) + ": not a 16-bit integer";
            return false;
        }
    }
    out = loaded;
    return true;
}

} // namespace tolvex

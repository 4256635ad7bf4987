#include "MasterSession.h"

#include "ValuePrinter.h"

#include <algorithm>
#include <arpa/inet.h>
#include <array>
#include <charconv>
#include <chrono>
#include <limits>
#include <netdb.h>
#include <ostream>
#include <poll.h>

namespace tolvex::cli {
namespace {

constexpr std::array<int, 12> kBaudRates{300,   600,   1200,  2400,  4800,  9600,
                                         14400, 19200, 38400, 56000, 57600, 115200};
constexpr int kDefaultTcpPort = 502;
constexpr short kPolledHandle = 1;
constexpr short kOnceHandle = 0;
constexpr short kNoReply = 10;
// A transaction ends within its timeouts; this only guards against waiting forever.
constexpr int kReceivesPerTransaction = 6;
constexpr int kWaitMarginMs = 5000;

short IndexOf(const std::string& choice, std::initializer_list<const char*> choices) {
    short index = 0;
    for (const char* candidate : choices) {
        if (choice == candidate) {
            return index;
        }
        ++index;
    }
    return -1;
}

short BaudIndex(int rate) {
    const auto found = std::find(kBaudRates.begin(), kBaudRates.end(), rate);
    return static_cast<short>(found - kBaudRates.begin());
}

// A value that does not fit 16 bits must be refused, not wrapped into range.
short AsProperty(int value) {
    return value >= std::numeric_limits<short>::min() && value <= std::numeric_limits<short>::max()
               ? static_cast<short>(value)
               : -1;
}

std::optional<in_addr> ResolveIpv4(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    const in_addr address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return address;
}

std::optional<int> ParsePort(const std::string& text) {
    int port = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (ec != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

} // namespace

MasterSession::MasterSession(std::ostream& out, std::ostream& err)
    : out_(out), err_(err), control_(tolvex_create()) {}

MasterSession::~MasterSession() {
    tolvex_destroy(control_);
}

int MasterSession::Run(const CtlOptions& options) {
    if (control_ == nullptr) {
        err_ << "tolvexctl: cannot create the Modbus master\n";
        return kExitFailure;
    }
    if (const std::optional<int> end = Configure(options)) {
        return *end;
    }
    if (!tolvex_open_connection(control_)) {
        return ReportError(tolvex_get_last_error(control_));
    }
    const bool polled = options.pollMs.has_value();
    const short handle = polled ? kPolledHandle : kOnceHandle;
    FillWriteBuffer(handle, options);
    if (!DefineRequest(handle, polled ? *options.pollMs : 0, options)) {
        return ReportUsage("the request was refused: slave, quantity or rate outside the limits");
    }
    if (polled) {
        tolvex_update_enable(control_, handle);
    } else {
        tolvex_update_once(control_, handle);
    }
    const int wanted = polled ? options.count.value_or(0) : 1;
    const int waitMs = kReceivesPerTransaction * tolvex_get_timeout(control_) +
                       options.pollMs.value_or(0) + kWaitMarginMs;
    for (int done = 0; wanted == 0 || done < wanted; ++done) {
        if (!AwaitCompletion(waitMs)) {
            return ReportError(kNoReply);
        }
        if (completion_.error != 0) {
            return ReportError(completion_.error);
        }
        if (IsRead(options.command)) {
            for (const std::string& line : FormatReadValues(control_, handle, options)) {
                out_ << line << '\n';
            }
            out_.flush();
        }
    }
    return kExitSuccess;
}

std::optional<int> MasterSession::Configure(const CtlOptions& o) {
    tolvex_set_callbacks(control_, &MasterSession::OnResultOk, &MasterSession::OnResultError, this);
    if (const std::optional<int> end = ConfigureTarget(o.target)) {
        return end;
    }
    struct Setting {
        bool given;
        void (*setter)(tolvex_control*, short);
        short value;
    };
    const Setting settings[] = {
        {o.mode.has_value(), tolvex_set_protocol_mode,
         IndexOf(o.mode.value_or(""), {"rtu", "ascii"})},
        {o.baud.has_value(), tolvex_set_baud_rate, BaudIndex(o.baud.value_or(0))},
        {o.parity.has_value(), tolvex_set_parity,
         IndexOf(o.parity.value_or(""), {"none", "odd", "even"})},
        {o.dataBits.has_value(), tolvex_set_data_bits, static_cast<short>(o.dataBits == 8)},
        {o.stopBits.has_value(), tolvex_set_stop_bits, static_cast<short>(o.stopBits == 2)},
        {o.timeoutMs.has_value(), tolvex_set_timeout, AsProperty(o.timeoutMs.value_or(0))},
    };
    for (const Setting& setting : settings) {
        if (setting.given) {
            setting.setter(control_, setting.value);
            if (tolvex_get_last_error(control_) != 0) {
                return ReportError(tolvex_get_last_error(control_));
            }
        }
    }
    if (o.rts) {
        tolvex_set_rts_control(control_, IndexOf(*o.rts, {"disable", "enable", "toggle"}));
    }
    return std::nullopt;
}

std::optional<int> MasterSession::ConfigureTarget(const Target& target) {
    if (target.device) {
        if (!tolvex_bind_port(1, target.device->c_str())) {
            return ReportUsage("the device path cannot be used");
        }
        tolvex_set_connection(control_, 1);
    } else if (target.port) {
        tolvex_set_connection(control_, static_cast<short>(*target.port));
    } else if (target.tcp) {
        return ConfigureTcp(*target.tcp);
    }
    return std::nullopt;
}

std::optional<int> MasterSession::ConfigureTcp(const std::string& hostAndPort) {
    const auto colon = hostAndPort.rfind(':');
    const std::string host = hostAndPort.substr(0, colon);
    std::optional<int> port = kDefaultTcpPort;
    if (colon != std::string::npos) {
        port = ParsePort(hostAndPort.substr(colon + 1));
    }
    if (!port) {
        return ReportUsage("the TCP port must be 1..65535");
    }
    const std::optional<in_addr> address = ResolveIpv4(host);
    if (!address) {
        return ReportUsage("the host has no IPv4 address");
    }
    const uint32_t bits = ntohl(address->s_addr);
    tolvex_set_connection(control_, 0);
    tolvex_set_ip_addr1(control_, static_cast<short>(bits >> 24 & 0xFF));
    tolvex_set_ip_addr2(control_, static_cast<short>(bits >> 16 & 0xFF));
    tolvex_set_ip_addr3(control_, static_cast<short>(bits >> 8 & 0xFF));
    tolvex_set_ip_addr4(control_, static_cast<short>(bits & 0xFF));
    tolvex_set_tcpip_port(control_, *port);
    return std::nullopt;
}

void MasterSession::FillWriteBuffer(short handle, const CtlOptions& options) {
    const bool coils =
        options.command == Command::WriteCoil || options.command == Command::WriteCoils;
    for (size_t i = 0; i < options.values.size(); ++i) {
        const auto index = static_cast<short>(i);
        const auto value = static_cast<short>(options.values[i]);
        if (coils) {
            tolvex_set_coil(control_, handle, index, value);
        } else {
            tolvex_set_register(control_, handle, index, value);
        }
    }
}

bool MasterSession::DefineRequest(short handle, int32_t rate, const CtlOptions& o) {
    const auto slave = static_cast<short>(o.slave);
    const auto quantity = static_cast<short>(o.quantity);
    const auto written = static_cast<short>(std::min<size_t>(o.values.size(), 2000));
    switch (o.command) {
    case Command::ReadHolding:
        return tolvex_read_holding_registers(control_, handle, slave, o.address, quantity, rate);
    case Command::ReadInput:
        return tolvex_read_input_registers(control_, handle, slave, o.address, quantity, rate);
    case Command::ReadCoils:
        return tolvex_read_coil_status(control_, handle, slave, o.address, quantity, rate);
    case Command::ReadDiscrete:
        return tolvex_read_input_status(control_, handle, slave, o.address, quantity, rate);
    case Command::WriteRegister:
        return tolvex_preset_single_register(control_, handle, slave, o.address, rate);
    case Command::WriteCoil:
        return tolvex_force_single_coil(control_, handle, slave, o.address, rate);
    case Command::WriteRegisters:
        return tolvex_preset_multiple_registers(control_, handle, slave, o.address, written, rate);
    case Command::WriteCoils:
        return tolvex_force_multiple_coils(control_, handle, slave, o.address, written, rate);
    case Command::ReadWrite:
        return tolvex_read_write_multiple_registers(control_, handle, slave, o.address, quantity,
                                                    o.writeAddress, written, rate);
    }
    return false;
}

bool MasterSession::AwaitCompletion(int waitMs) {
    completion_ = {};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    pollfd entry{tolvex_event_fd(control_), POLLIN, 0};
    while (!completion_.arrived) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        if (poll(&entry, 1, static_cast<int>(left.count())) > 0) {
            tolvex_dispatch_events(control_);
        }
    }
    return true;
}

int MasterSession::ReportError(short code) {
    err_ << "error " << code << ": " << tolvex_error_text(code) << '\n';
    return kExitFailure;
}

int MasterSession::ReportUsage(const char* message) {
    err_ << "tolvexctl: " << message << '\n';
    return kExitUsage;
}

void MasterSession::OnResultOk(void* context, short) {
    static_cast<MasterSession*>(context)->completion_ = {true, 0};
}

void MasterSession::OnResultError(void* context, short, short error) {
    static_cast<MasterSession*>(context)->completion_ = {true, error};
}

} // namespace tolvex::cli

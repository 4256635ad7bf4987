#include "CTolvexCtrl.h"

#include "FunctionCode.h"
#include "RequestEngine.h"
#include "SerialProfile.h"
#include "tolvex/ResultCode.h"
#include "tolvex/tolvex_constants.h"

#include <bit>
#include <cstdio>

namespace tolvex {
namespace {

constexpr int32_t kDefaultTcpPort = 502;
constexpr int32_t kTcpPortLimit = 65535;
constexpr int32_t kMaxAddress = 65535;
constexpr short kTcpConnection = TOLVEX_CONNECTION_TCP_IP;
constexpr int kIpParts = 4;

bool IsAddress(int32_t address) {
    return address >= 0 && address <= kMaxAddress;
}

uint16_t Unsigned(short value) {
    return static_cast<uint16_t>(value);
}

bool IsHandle(short handle) {
    return handle >= 0 && handle < kHandleCount;
}

} // namespace

CTolvexCtrl::CTolvexCtrl()
    : tcpIpPort_(kDefaultTcpPort), engine_(std::make_unique<RequestEngine>()) {}

CTolvexCtrl::~CTolvexCtrl() {
    CloseConnection();
}

void CTolvexCtrl::StoreChecked(short& field, short value, short low, short high, uint16_t refusal) {
    modified_ = true;
    if (value < low || value > high) {
        lastError_ = static_cast<short>(refusal);
        return;
    }
    field = value;
    lastError_ = 0;
}

void CTolvexCtrl::SetStopBits(short value) {
    StoreChecked(props_.stopBits, value, TOLVEX_STOP_BITS_ONE, TOLVEX_STOP_BITS_TWO,
                 Code(ResultCode::StopBitsOutOfRange));
}

void CTolvexCtrl::SetBaudRate(short value) {
    StoreChecked(props_.baudRate, value, TOLVEX_B300, TOLVEX_B115200,
                 Code(ResultCode::BaudRateOutOfRange));
}

void CTolvexCtrl::SetParity(short value) {
    StoreChecked(props_.parity, value, TOLVEX_PARITY_NONE, TOLVEX_PARITY_EVEN,
                 Code(ResultCode::ParityOutOfRange));
}

void CTolvexCtrl::SetTimeout(short value) {
    StoreChecked(props_.timeout, value, 300, 10000, Code(ResultCode::TimeoutOutOfRange));
    if (lastError_ == 0) {
        ApplyReplyTimeout(props_.timeout);
    }
}

bool CTolvexCtrl::SetReplyTimeout(int milliseconds) {
    if (milliseconds < 10 || milliseconds > 10000) {
        lastError_ = static_cast<short>(Code(ResultCode::TimeoutOutOfRange));
        return false;
    }
    lastError_ = 0;
    ApplyReplyTimeout(milliseconds);
    return true;
}

// An open serial line takes a new timeout at once; a closed one gets it from OpenConnection, and
// a TCP connection keeps the one it was opened with.
void CTolvexCtrl::ApplyReplyTimeout(int milliseconds) {
    if (connected_ && engine_->Master().Serial().IsOpen()) {
        engine_->SetSerialTimeouts(
            TimeoutsFor(props_.baudRate, props_.protocolMode, static_cast<short>(milliseconds)));
    }
}

void CTolvexCtrl::SetProtocolMode(short value) {
    StoreChecked(props_.protocolMode, value, TOLVEX_MODE_RTU, TOLVEX_MODE_ASCII,
                 Code(ResultCode::ProtocolModeOutOfRange));
}

void CTolvexCtrl::SetDataBits(short value) {
    StoreChecked(props_.dataBits, value, TOLVEX_BITS_SEVEN, TOLVEX_BITS_EIGHT,
                 Code(ResultCode::DataBitsOutOfRange));
}

short CTolvexCtrl::IPAddr(int part) const {
    return part >= 1 && part <= kIpParts ? props_.ipAddr[part - 1] : 0;
}

void CTolvexCtrl::SetIPAddr(int part, short value) {
    if (part >= 1 && part <= kIpParts) {
        StoreChecked(props_.ipAddr[part - 1], value, 0, 255, Code(ResultCode::IpAddrOutOfRange));
    }
}

void CTolvexCtrl::SetConnection(short value) {
    StoreChecked(props_.connection, value, TOLVEX_CONNECTION_TCP_IP, TOLVEX_CONNECTION_PORT32,
                 Code(ResultCode::ConnectionOutOfRange));
}

void CTolvexCtrl::SetTCPIPPort(int32_t value) {
    modified_ = true;
    if (value < kTcpPortLimit) {
        tcpIpPort_ = value;
    }
}

short CTolvexCtrl::RTSControl() const {
    return engine_->Master().Serial().GetRtsMode();
}

void CTolvexCtrl::SetRTSControl(short value) {
    modified_ = true;
    if (value >= TOLVEX_RTS_DISABLE && value <= TOLVEX_RTS_TOGGLE) {
        engine_->Master().Serial().SetRtsMode(static_cast<uint8_t>(value));
    }
}

bool CTolvexCtrl::DefineRequest(short handle, short slave, uint8_t function, int32_t readAddress,
                                short readQuantity, int32_t writeAddress, short writeQuantity,
                                int32_t updateRate) {
    if (!IsAddress(readAddress) || !IsAddress(writeAddress)) {
        return false;
    }
    const RequestDefinition request{Unsigned(slave),
                                    function,
                                    static_cast<uint16_t>(readAddress),
                                    Unsigned(readQuantity),
                                    static_cast<uint16_t>(writeAddress),
                                    Unsigned(writeQuantity)};
    return engine_->DefineRequest(&notices_, Unsigned(handle), static_cast<uint32_t>(updateRate),
                                  request);
}

bool CTolvexCtrl::ReadHoldingRegisters(short handle, short slave, int32_t address, short quantity,
                                       int32_t updateRate) {
    return DefineRequest(handle, slave, Byte(FunctionCode::ReadHoldingRegisters), address, quantity,
                         0, 0, updateRate);
}

bool CTolvexCtrl::ReadInputRegisters(short handle, short slave, int32_t address, short quantity,
                                     int32_t updateRate) {
    return DefineRequest(handle, slave, Byte(FunctionCode::ReadInputRegisters), address, quantity,
                         0, 0, updateRate);
}

bool CTolvexCtrl::ReadCoilStatus(short handle, short slave, int32_t address, short quantity,
                                 int32_t updateRate) {
    return DefineRequest(handle, slave, Byte(FunctionCode::ReadCoils), address, quantity, 0, 0,
                         updateRate);
}

bool CTolvexCtrl::ReadInputStatus(short handle, short slave, int32_t address, short quantity,
                                  int32_t updateRate) {
    return DefineRequest(handle, slave, Byte(FunctionCode::ReadDiscreteInputs), address, quantity,
                         0, 0, updateRate);
}

bool CTolvexCtrl::PresetSingleRegister(short handle, short slave, int32_t address,
                                       int32_t updateRate) {
    return DefineRequest(handle, slave, Byte(FunctionCode::WriteSingleRegister), 0, 0, address, 1,
                         updateRate);
}

bool CTolvexCtrl::ForceSingleCoil(short handle, short slave, int32_t address, int32_t updateRate) {
    return DefineRequest(handle, slave, Byte(FunctionCode::WriteSingleCoil), 0, 0, address, 1,
                         updateRate);
}

bool CTolvexCtrl::ForceMultipleCoils(short handle, short slave, int32_t address, short quantity,
                                     int32_t updateRate) {
    return DefineRequest(handle, slave, Byte(FunctionCode::WriteMultipleCoils), 0, 0, address,
                         quantity, updateRate);
}

bool CTolvexCtrl::PresetMultipleRegisters(short handle, short slave, int32_t address,
                                          short quantity, int32_t updateRate) {
    return DefineRequest(handle, slave, Byte(FunctionCode::WriteMultipleRegisters), 0, 0, address,
                         quantity, updateRate);
}

bool CTolvexCtrl::ReadWriteMultipleRegisters(short handle, short slave, int32_t readAddress,
                                             short readQuantity, int32_t writeAddress,
                                             short writeQuantity, int32_t updateRate) {
    return DefineRequest(handle, slave, Byte(FunctionCode::ReadWriteMultipleRegisters), readAddress,
                         readQuantity, writeAddress, writeQuantity, updateRate);
}

bool CTolvexCtrl::SetUpdateMode(short handle, short lowestHandle, UpdateMode mode) {
    if (handle < lowestHandle) {
        return false;
    }
    return engine_->SetUpdateMode(Unsigned(handle), mode);
}

bool CTolvexCtrl::UpdateEnable(short handle) {
    return SetUpdateMode(handle, 1, UpdateMode::Cyclic);
}

bool CTolvexCtrl::UpdateDisable(short handle) {
    return SetUpdateMode(handle, 1, UpdateMode::Disabled);
}

bool CTolvexCtrl::UpdateOnce(short handle) {
    return SetUpdateMode(handle, 0, UpdateMode::Once);
}

bool CTolvexCtrl::OpenConnection() {
    if (connected_) {
        lastError_ = static_cast<short>(Code(ResultCode::AlreadyConnected));
        return false;
    }
    return props_.connection == kTcpConnection ? OpenTcp() : OpenSerial();
}

bool CTolvexCtrl::OpenSerial() {
    const uint32_t rate = BaudRateOf(props_.baudRate);
    const bool validLine =
        rate != 0 && props_.parity >= TOLVEX_PARITY_NONE && props_.parity <= TOLVEX_PARITY_EVEN;
    LineSettings line;
    line.baudRate = rate;
    line.byteSize = props_.dataBits != 0 ? 8 : 7;
    line.parity = static_cast<tolvex::Parity>(props_.parity);
    line.twoStopBits = props_.stopBits != 0;
    // A loaded value outside its range cannot describe a line: the open fails as any other.
    connected_ = validLine && engine_->Master().Open(props_.connection, line);
    if (!connected_) {
        lastError_ = static_cast<short>(Code(ResultCode::PortOpenFailed));
        return false;
    }
    engine_->Master().SetTimeouts(
        TimeoutsFor(props_.baudRate, props_.protocolMode, props_.timeout));
    engine_->Master().SetTransportMode(
        props_.protocolMode == TOLVEX_MODE_ASCII ? TransportMode::Ascii : TransportMode::Rtu);
    lastError_ = 0;
    engine_->Start();
    return true;
}

std::string CTolvexCtrl::TcpAddressText() const {
    char text[64];
    std::snprintf(text, sizeof text, "%i.%i.%i.%i", props_.ipAddr[0], props_.ipAddr[1],
                  props_.ipAddr[2], props_.ipAddr[3]);
    return text;
}

bool CTolvexCtrl::OpenTcp() {
    const auto port = static_cast<uint16_t>(tcpIpPort_ & 0xFFFF);
    const uint16_t code = engine_->Master().Tcp().Connect(TcpAddressText(), port, props_.timeout);
    lastError_ = static_cast<short>(code);
    if (code != Code(ResultCode::Success)) {
        return false;
    }
    engine_->Master().SetTransportMode(TransportMode::Tcp);
    engine_->Start();
    connected_ = true;
    return true;
}

void CTolvexCtrl::CloseConnection() {
    connected_ = false;
    if (engine_->Master().Tcp().IsSocketOpen()) {
        engine_->Stop();
        engine_->Master().Tcp().Disconnect();
    } else if (engine_->Master().Serial().IsOpen()) {
        engine_->Stop();
        engine_->Master().Close();
    }
}

bool CTolvexCtrl::IsBusy(short handle) const {
    return engine_->IsBusy(handle);
}

short CTolvexCtrl::GetResult(short handle) const {
    return static_cast<short>(engine_->GetResult(handle));
}

bool CTolvexCtrl::CheckElement(short handle, short index, const ElementView& view) {
    if (!IsHandle(handle)) {
        lastError_ = static_cast<short>(Code(ResultCode::HandleOutOfRange));
        return false;
    }
    if (Unsigned(index) >= view.count) {
        lastError_ = static_cast<short>(Code(ResultCode::IndexOutOfRange));
        return false;
    }
    return true;
}

uint64_t CTolvexCtrl::ReadElement(short handle, short index, const ElementView& view) {
    if (!CheckElement(handle, index, view)) {
        return 0;
    }
    uint8_t element[8];
    const std::span<uint8_t> bytes(element, view.bytes);
    lastError_ = static_cast<short>(engine_->ReadData(handle, view.bytes * Unsigned(index), bytes));
    return DecodeElement(bytes, view.swapWords);
}

void CTolvexCtrl::WriteElement(short handle, short index, const ElementView& view, uint64_t value) {
    if (!CheckElement(handle, index, view)) {
        return;
    }
    uint8_t element[8];
    const std::span<uint8_t> bytes(element, view.bytes);
    EncodeElement(value, bytes, view.swapWords);
    engine_->WriteBuffer(handle, view.bytes * Unsigned(index), bytes);
    lastError_ = static_cast<short>(Code(ResultCode::ValueStored));
}

short CTolvexCtrl::Register(short handle, short index) {
    return static_cast<short>(ReadElement(handle, index, kRegisterView));
}

void CTolvexCtrl::SetRegister(short handle, short index, short value) {
    WriteElement(handle, index, kRegisterView, Unsigned(value));
}

short CTolvexCtrl::Coil(short handle, short index) {
    return static_cast<short>(ReadElement(handle, index, kCoilView));
}

void CTolvexCtrl::SetCoil(short handle, short index, short value) {
    WriteElement(handle, index, kCoilView, static_cast<uint8_t>(value));
}

int32_t CTolvexCtrl::Long(short handle, short index) {
    return static_cast<int32_t>(ReadElement(handle, index, kLongView));
}

void CTolvexCtrl::SetLong(short handle, short index, int32_t value) {
    WriteElement(handle, index, kLongView, static_cast<uint32_t>(value));
}

float CTolvexCtrl::Float(short handle, short index) {
    return std::bit_cast<float>(static_cast<uint32_t>(ReadElement(handle, index, kLongView)));
}

void CTolvexCtrl::SetFloat(short handle, short index, float value) {
    WriteElement(handle, index, kLongView, std::bit_cast<uint32_t>(value));
}

double CTolvexCtrl::Double(short handle, short index) {
    return std::bit_cast<double>(ReadElement(handle, index, kDoubleView));
}

void CTolvexCtrl::SetDouble(short handle, short index, double value) {
    WriteElement(handle, index, kDoubleView, std::bit_cast<uint64_t>(value));
}

int32_t CTolvexCtrl::LongSwap(short handle, short index) {
    return static_cast<int32_t>(ReadElement(handle, index, kLongSwapView));
}

void CTolvexCtrl::SetLongSwap(short handle, short index, int32_t value) {
    WriteElement(handle, index, kLongSwapView, static_cast<uint32_t>(value));
}

float CTolvexCtrl::FloatSwap(short handle, short index) {
    return std::bit_cast<float>(static_cast<uint32_t>(ReadElement(handle, index, kLongSwapView)));
}

void CTolvexCtrl::SetFloatSwap(short handle, short index, float value) {
    WriteElement(handle, index, kLongSwapView, std::bit_cast<uint32_t>(value));
}

double CTolvexCtrl::DoubleSwap(short handle, short index) {
    return std::bit_cast<double>(ReadElement(handle, index, kDoubleSwapView));
}

void CTolvexCtrl::SetDoubleSwap(short handle, short index, double value) {
    WriteElement(handle, index, kDoubleSwapView, std::bit_cast<uint64_t>(value));
}

std::string CTolvexCtrl::StatusText() const {
    const char* state = connected_ ? "Open" : "Closed";
    if (props_.connection == kTcpConnection) {
        return std::string("TCP/IP Connection = ") + state;
    }
    char text[96];
    const uint32_t rate = BaudRateOf(props_.baudRate);
    if (rate == 0) {
        // Only a loaded value can be outside the rate table; show what was stored, not a rate.
        std::snprintf(text, sizeof text, "Port %hi, baud rate %hi (not valid), %s",
                      props_.connection, props_.baudRate, state);
    } else {
        std::snprintf(text, sizeof text, "Port %hi, %i baud, %s", props_.connection,
                      static_cast<int>(rate), state);
    }
    return text;
}

void CTolvexCtrl::EnterDesignMode() {
    if (connected_) {
        engine_->StopAll();
        CloseConnection();
    }
}

std::string CTolvexCtrl::SaveProperties() const {
    return tolvex::SaveProperties(props_);
}

bool CTolvexCtrl::LoadProperties(const std::string& text, std::string& error) {
    if (!tolvex::LoadProperties(text, props_, error)) {
        return false;
    }
    modified_ = false;
    return true;
}

void CTolvexCtrl::SetEventHandlers(EventHandlers handlers) {
    handlers_ = std::move(handlers);
}

int CTolvexCtrl::DispatchEvents() {
    // Only the notices waiting now: a handler that keeps the worker busy cannot hold us here.
    const size_t waiting = notices_.Waiting();
    int fired = 0;
    for (size_t i = 0; i < waiting; ++i) {
        const std::optional<Notice> notice = notices_.Take();
        if (!notice) {
            break;
        }
        FireEvent(*notice);
        ++fired;
    }
    return fired;
}

void CTolvexCtrl::FireEvent(const Notice& notice) {
    const auto handle = static_cast<short>(notice.handle);
    // Called through copies: a handler may replace the handlers while it runs.
    if (notice.code == Code(ResultCode::Success)) {
        if (const auto resultOk = handlers_.resultOk) {
            resultOk(handle);
        }
    } else if (const auto resultError = handlers_.resultError) {
        resultError(handle, static_cast<short>(notice.code));
    }
}

} // namespace tolvex

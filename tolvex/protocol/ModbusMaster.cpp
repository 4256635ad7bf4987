#include "ModbusMaster.h"

#include "AsciiTransport.h"
#include "FunctionCode.h"
#include "RtuTransport.h"
#include "TcpTransport.h"
#include "tolvex/ResultCode.h"

#include <algorithm>
#include <array>

namespace tolvex {
namespace {

constexpr size_t kWriteEchoLength = 6; // slave, function, address and the value or quantity

constexpr uint16_t kRefused = Code(ResultCode::SendFailed);
constexpr uint16_t kSuccess = Code(ResultCode::Success);
constexpr uint16_t kMismatch = Code(ResultCode::ReplyMismatch);

bool InRange(uint16_t value, uint16_t low, uint16_t high) {
    return value >= low && value <= high;
}

} // namespace

ModbusMaster::ModbusMaster() : transport_(std::make_unique<RtuTransport>(serial_)) {}

ModbusMaster::~ModbusMaster() = default;

void ModbusMaster::SetTransportMode(TransportMode mode) {
    if (mode == mode_) {
        return;
    }
    mode_ = mode;
    switch (mode) {
    case TransportMode::Rtu:
        transport_ = std::make_unique<RtuTransport>(serial_);
        break;
    case TransportMode::Ascii:
        transport_ = std::make_unique<AsciiTransport>(serial_);
        break;
    case TransportMode::Tcp:
        transport_ = std::make_unique<TcpTransport>(tcp_);
        break;
    }
}

uint16_t ModbusMaster::Exchange(const ModbusRequest& request, std::span<uint8_t> reply) {
    // The attempt limit is 1: a failed request is retried only when it is served again.
    const uint16_t sent = transport_->SendRequest(request.pdu);
    return sent == kSuccess ? transport_->ReceiveReply(request.pdu, reply) : sent;
}

uint16_t ModbusMaster::RunRead(const ModbusRequest& request, ReplyUnpacker unpack,
                               std::span<uint8_t> out) {
    std::array<uint8_t, kMaxPduLength> buffer{};
    const auto reply = std::span(buffer).first(request.expectedReplyLength);
    const uint16_t result = Exchange(request, reply);
    if (result != kSuccess) {
        return result;
    }
    if (!HeaderMatches(reply, request.pdu)) {
        return kMismatch;
    }
    unpack(reply, out);
    return kSuccess;
}

uint16_t ModbusMaster::ReadBits(uint8_t slave, uint8_t function, uint16_t address,
                                uint16_t quantity, std::span<uint8_t> bits) {
    if (slave == 0 || !IsBitRead(function) || !InRange(quantity, 1, kMaxReadBits) ||
        bits.size() < quantity) {
        return kRefused;
    }
    return RunRead(BuildReadRequest(slave, function, address, quantity), UnpackBits,
                   bits.first(quantity));
}

uint16_t ModbusMaster::ReadRegisters(uint8_t slave, uint8_t function, uint16_t address,
                                     uint16_t quantity, std::span<uint8_t> registers) {
    if (slave == 0 || !IsRegisterRead(function) || !InRange(quantity, 1, kMaxReadRegisters) ||
        registers.size() < 2U * quantity) {
        return kRefused;
    }
    return RunRead(BuildReadRequest(slave, function, address, quantity), UnpackRegisters,
                   registers.first(2U * quantity));
}

uint16_t ModbusMaster::RunWrite(const ModbusRequest& request, size_t echoedBytes) {
    std::array<uint8_t, kMaxPduLength> buffer{};
    const auto reply = std::span(buffer).first(request.expectedReplyLength);
    const uint16_t result = Exchange(request, reply);
    if (result == kSuccess && !EchoMatches(reply, request.pdu, echoedBytes)) {
        return kMismatch;
    }
    return result;
}

uint16_t ModbusMaster::WriteSingleCoil(uint8_t slave, uint16_t address, uint8_t coil) {
    return RunWrite(BuildWriteSingleCoil(slave, address, coil), kWriteEchoLength);
}

uint16_t ModbusMaster::WriteSingleRegister(uint8_t slave, uint16_t address, uint16_t value) {
    return RunWrite(BuildWriteSingleRegister(slave, address, value), kWriteEchoLength);
}

uint16_t ModbusMaster::WriteMultipleCoils(uint8_t slave, uint16_t address, uint16_t quantity,
                                          std::span<const uint8_t> coils) {
    if (!InRange(quantity, 1, kMaxWriteCoils) || coils.size() < quantity) {
        return kRefused;
    }
    return RunWrite(BuildWriteMultipleCoils(slave, address, coils.first(quantity)),
                    kWriteEchoLength);
}

uint16_t ModbusMaster::WriteMultipleRegisters(uint8_t slave, uint16_t address, uint16_t quantity,
                                              std::span<const uint8_t> registers) {
    if (!InRange(quantity, 1, kMaxWriteRegisters) || registers.size() < 2U * quantity) {
        return kRefused;
    }
    return RunWrite(BuildWriteMultipleRegisters(slave, address, registers.first(2U * quantity)),
                    kWriteEchoLength);
}

uint16_t ModbusMaster::ReadWriteRegisters(uint8_t slave, uint16_t readAddress,
                                          uint16_t readQuantity, uint16_t writeAddress,
                                          uint16_t writeQuantity, std::span<uint8_t> registers) {
    if (slave == 0 || readQuantity > kMaxReadRegisters ||
        !InRange(writeQuantity, 1, kMaxReadWriteWriteRegisters) ||
        registers.size() < 2U * std::max(readQuantity, writeQuantity)) {
        return kRefused;
    }
    return RunRead(BuildReadWriteRegisters(slave, readAddress, readQuantity, writeAddress,
                                           registers.first(2U * writeQuantity)),
                   UnpackRegisters, registers.first(2U * readQuantity));
}

} // namespace tolvex

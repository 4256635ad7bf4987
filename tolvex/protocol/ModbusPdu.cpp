#include "ModbusPdu.h"

#include "FunctionCode.h"

#include <algorithm>
#include <cstring>

namespace tolvex {
namespace {

constexpr size_t kReplyDataOffset = 3; // slave, function, byte count
constexpr size_t kWriteReplyLength = 6;

void AppendWord(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value & 0xFF));
}

uint16_t RegisterAt(std::span<const uint8_t> registers, size_t index) {
    uint16_t value;
    std::memcpy(&value, registers.data() + 2 * index, sizeof value);
    return value;
}

void AppendRegisters(std::vector<uint8_t>& out, std::span<const uint8_t> registers) {
    const size_t count = registers.size() / 2;
    out.push_back(static_cast<uint8_t>(2 * count));
    for (size_t i = 0; i < count; ++i) {
        AppendWord(out, RegisterAt(registers, i));
    }
}

std::vector<uint8_t> Header(uint8_t slave, uint8_t function, uint16_t address) {
    std::vector<uint8_t> pdu{slave, function};
    AppendWord(pdu, address);
    return pdu;
}

size_t PackedBytes(size_t bits) {
    return (bits + 7) / 8;
}

} // namespace

ModbusRequest BuildReadRequest(uint8_t slave, uint8_t function, uint16_t address,
                               uint16_t quantity) {
    ModbusRequest request{Header(slave, function, address), 0};
    AppendWord(request.pdu, quantity);
    const bool bits = IsBitRead(function);
    request.expectedReplyLength = kReplyDataOffset + (bits ? PackedBytes(quantity) : 2U * quantity);
    return request;
}

ModbusRequest BuildWriteSingleCoil(uint8_t slave, uint16_t address, uint8_t coil) {
    ModbusRequest request{Header(slave, Byte(FunctionCode::WriteSingleCoil), address),
                          kWriteReplyLength};
    request.pdu.push_back(coil != 0 ? 0xFF : 0x00);
    request.pdu.push_back(0x00);
    return request;
}

ModbusRequest BuildWriteSingleRegister(uint8_t slave, uint16_t address, uint16_t value) {
    ModbusRequest request{Header(slave, Byte(FunctionCode::WriteSingleRegister), address),
                          kWriteReplyLength};
    AppendWord(request.pdu, value);
    return request;
}

ModbusRequest BuildWriteMultipleCoils(uint8_t slave, uint16_t address,
                                      std::span<const uint8_t> coils) {
    ModbusRequest request{Header(slave, Byte(FunctionCode::WriteMultipleCoils), address),
                          kWriteReplyLength};
    AppendWord(request.pdu, static_cast<uint16_t>(coils.size()));
    std::vector<uint8_t> packed(PackedBytes(coils.size()), 0);
    for (size_t i = 0; i < coils.size(); ++i) {
        if (coils[i] != 0) {
            packed[i / 8] |= static_cast<uint8_t>(1U << (i % 8));
        }
    }
    request.pdu.push_back(static_cast<uint8_t>(packed.size()));
    request.pdu.insert(request.pdu.end(), packed.begin(), packed.end());
    return request;
}

ModbusRequest BuildWriteMultipleRegisters(uint8_t slave, uint16_t address,
                                          std::span<const uint8_t> registers) {
    ModbusRequest request{Header(slave, Byte(FunctionCode::WriteMultipleRegisters), address),
                          kWriteReplyLength};
    AppendWord(request.pdu, static_cast<uint16_t>(registers.size() / 2));
    AppendRegisters(request.pdu, registers);
    return request;
}

ModbusRequest BuildReadWriteRegisters(uint8_t slave, uint16_t readAddress, uint16_t readQuantity,
                                      uint16_t writeAddress, std::span<const uint8_t> registers) {
    ModbusRequest request{
        Header(slave, Byte(FunctionCode::ReadWriteMultipleRegisters), readAddress),
        kReplyDataOffset + 2U * readQuantity};
    AppendWord(request.pdu, readQuantity);
    AppendWord(request.pdu, writeAddress);
    AppendWord(request.pdu, static_cast<uint16_t>(registers.size() / 2));
    AppendRegisters(request.pdu, registers);
    return request;
}

bool HeaderMatches(std::span<const uint8_t> reply, std::span<const uint8_t> request) {
    return reply.size() >= 2 && request.size() >= 2 && reply[0] == request[0] &&
           reply[1] == request[1];
}

bool EchoMatches(std::span<const uint8_t> reply, std::span<const uint8_t> request, size_t n) {
    if (!request.empty() && request[0] == 0) {
        return true;
    }
    return reply.size() >= n && request.size() >= n &&
           std::equal(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(n),
                      request.begin());
}

void UnpackBits(std::span<const uint8_t> reply, std::span<uint8_t> bits) {
    const auto data = reply.subspan(std::min(reply.size(), kReplyDataOffset));
    const size_t count = std::min(bits.size(), 8 * data.size());
    for (size_t i = 0; i < count; ++i) {
        bits[i] = (data[i / 8] >> (i % 8)) & 1U;
    }
}

void UnpackRegisters(std::span<const uint8_t> reply, std::span<uint8_t> registers) {
    const auto data = reply.subspan(std::min(reply.size(), kReplyDataOffset));
    const size_t count = std::min(registers.size(), data.size()) / 2;
    for (size_t i = 0; i < count; ++i) {
        const auto value = static_cast<uint16_t>((data[2 * i] << 8) | data[2 * i + 1]);
        std::memcpy(registers.data() + 2 * i, &value, sizeof value);
    }
}

} // namespace tolvex

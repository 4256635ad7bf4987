#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tolvex {

// The longest PDU of any request or reply, slave address included.
constexpr size_t kMaxPduLength = 256;

// Quantity limits that keep every request and reply inside one Modbus PDU.
constexpr uint16_t kMaxReadBits = 1968;
constexpr uint16_t kMaxReadRegisters = 125;
constexpr uint16_t kMaxWriteCoils = 1968;
constexpr uint16_t kMaxWriteRegisters = 123;
constexpr uint16_t kMaxReadWriteWriteRegisters = 121;

// A request PDU (slave address first) and the length of the reply PDU it expects.
struct ModbusRequest {
    std::vector<uint8_t> pdu;
    size_t expectedReplyLength = 0;
};

// Registers in the caller's buffers are 16-bit values in host order, 2 bytes each; coils are one
// byte each, non-zero meaning ON.
ModbusRequest BuildReadRequest(uint8_t slave, uint8_t function, uint16_t address,
                               uint16_t quantity);
ModbusRequest BuildWriteSingleCoil(uint8_t slave, uint16_t address, uint8_t coil);
ModbusRequest BuildWriteSingleRegister(uint8_t slave, uint16_t address, uint16_t value);
ModbusRequest BuildWriteMultipleCoils(uint8_t slave, uint16_t address,
                                      std::span<const uint8_t> coils);
ModbusRequest BuildWriteMultipleRegisters(uint8_t slave, uint16_t address,
                                          std::span<const uint8_t> registers);
ModbusRequest BuildReadWriteRegisters(uint8_t slave, uint16_t readAddress, uint16_t readQuantity,
                                      uint16_t writeAddress, std::span<const uint8_t> registers);

// Slave address and function code of the reply equal the request's.
bool HeaderMatches(std::span<const uint8_t> reply, std::span<const uint8_t> request);

// The first n reply bytes echo the request; a broadcast (slave 0) is not checked.
bool EchoMatches(std::span<const uint8_t> reply, std::span<const uint8_t> request, size_t n);

// Bits from the fourth reply byte on, least significant first, as one byte 0/1 per bit.
void UnpackBits(std::span<const uint8_t> reply, std::span<uint8_t> bits);

// Registers from the fourth reply byte on, high byte first, into host-order 16-bit values.
void UnpackRegisters(std::span<const uint8_t> reply, std::span<uint8_t> registers);

} // namespace tolvex

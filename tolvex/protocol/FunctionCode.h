#pragma once

#include <cstdint>

namespace tolvex {

// The Modbus functions the master speaks.
enum class FunctionCode : uint8_t {
    ReadCoils = 1,
    ReadDiscreteInputs = 2,
    ReadHoldingRegisters = 3,
    ReadInputRegisters = 4,
    WriteSingleCoil = 5,
    WriteSingleRegister = 6,
    WriteMultipleCoils = 15,
    WriteMultipleRegisters = 16,
    ReadWriteMultipleRegisters = 23,
};

constexpr uint8_t Byte(FunctionCode function) {
    return static_cast<uint8_t>(function);
}

constexpr bool IsBitRead(uint8_t function) {
    return function == Byte(FunctionCode::ReadCoils) ||
           function == Byte(FunctionCode::ReadDiscreteInputs);
}

constexpr bool IsRegisterRead(uint8_t function) {
    return function == Byte(FunctionCode::ReadHoldingRegisters) ||
           function == Byte(FunctionCode::ReadInputRegisters);
}

} // namespace tolvex

#include "ModbusSlave.h"

namespace kestrix::sim {
namespace {

constexpr uint8_t kBroadcast = 0;
constexpr uint8_t kReadHolding = 3;
constexpr uint8_t kReadInput = 4;
constexpr uint8_t kWriteSingle = 6;
constexpr size_t kFixedRequestLength = 6;
constexpr uint16_t kMaxReadQuantity = 125;

uint16_t Word(std::span<const uint8_t> pdu, size_t at) {
    return static_cast<uint16_t>(pdu[at] << 8 | pdu[at + 1]);
}

std::vector<uint8_t> ExceptionReply(std::span<const uint8_t> pdu, ModbusException code) {
    return {pdu[0], static_cast<uint8_t>(pdu[1] | 0x80), static_cast<uint8_t>(code)};
}

} // namespace

bool ModbusSlave::IsForUs(std::span<const uint8_t> pdu) const {
    return pdu.size() >= 2 && (pdu[0] == instrument_.Address() || pdu[0] == kBroadcast);
}

std::optional<std::vector<uint8_t>> ModbusSlave::Answer(std::span<const uint8_t> pdu) {
    if (!IsForUs(pdu)) {
        return std::nullopt;
    }
    const uint8_t function = pdu[1];
    const bool knownFunction =
        function == kReadHolding || function == kReadInput || function == kWriteSingle;
    std::vector<uint8_t> reply;
    if (!knownFunction) {
        reply = ExceptionReply(pdu, ModbusException::IllegalFunction);
    } else if (pdu.size() != kFixedRequestLength) {
        reply = ExceptionReply(pdu, ModbusException::IllegalValue);
    } else if (function == kWriteSingle) {
        reply = WriteSingle(pdu);
    } else if (pdu[0] != kBroadcast) {
        reply = Read(pdu, function == kReadHolding ? RegisterArea::Holding : RegisterArea::Input);
    }
    if (pdu[0] == kBroadcast) {
        return std::nullopt;
    }
    return reply;
}

std::vector<uint8_t> ModbusSlave::Read(std::span<const uint8_t> pdu, RegisterArea area) {
    const uint16_t quantity = Word(pdu, 4);
    if (quantity < 1 || quantity > kMaxReadQuantity) {
        return ExceptionReply(pdu, ModbusException::IllegalValue);
    }
    std::vector<uint16_t> values;
    const auto result = instrument_.Read(area, Word(pdu, 2), quantity, values);
    if (result != ModbusException::None) {
        return ExceptionReply(pdu, result);
    }
    std::vector<uint8_t> reply{pdu[0], pdu[1], static_cast<uint8_t>(2 * quantity)};
    for (uint16_t value : values) {
        reply.push_back(static_cast<uint8_t>(value >> 8));
        reply.push_back(static_cast<uint8_t>(value & 0xFF));
    }
    return reply;
}

std::vector<uint8_t> ModbusSlave::WriteSingle(std::span<const uint8_t> pdu) {
    const auto result = instrument_.Write(Word(pdu, 2), Word(pdu, 4));
    if (result != ModbusException::None) {
        return ExceptionReply(pdu, result);
    }
    return {pdu.begin(), pdu.end()};
}

} // namespace kestrix::sim

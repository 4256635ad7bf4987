#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tolvex {

// The PDU (slave address first) followed by its CRC, low byte first.
std::vector<uint8_t> BuildRtuFrame(std::span<const uint8_t> pdu);

// Number of bytes to read for a reply PDU of expectedLength bytes.
constexpr size_t RtuReplyFrameLength(size_t expectedLength) {
    return expectedLength + 2;
}

// Judges what an RTU read returned. reply.size() is the expected PDU length; on success the
// PDU is copied into reply. Returns 0, the device's exception code, or 10, 11, 12, 13.
uint16_t JudgeRtuReply(std::span<const uint8_t> received, std::span<uint8_t> reply);

} // namespace tolvex

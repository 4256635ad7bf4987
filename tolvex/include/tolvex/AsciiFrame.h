#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tolvex {

// ":" + hexadecimal PDU + hexadecimal LRC + CR LF; 2n + 5 characters.
std::vector<uint8_t> BuildAsciiFrame(std::span<const uint8_t> pdu);

// Number of characters to read for a reply PDU of expectedLength bytes.
constexpr size_t AsciiReplyFrameLength(size_t expectedLength) {
    return 2 * expectedLength + 5;
}

// Decodes a whole frame (":" ... CR LF) whose LRC is correct into its PDU; nullopt otherwise.
std::optional<std::vector<uint8_t>> DecodeAsciiFrame(std::span<const uint8_t> frame);

// Judges what an ASCII read returned. reply.size() is the expected PDU length; on success the
// PDU is copied into reply. Returns 0, the device's exception code, or 10, 11, 12, 13.
uint16_t JudgeAsciiReply(std::span<const uint8_t> received, std::span<uint8_t> reply);

} // namespace tolvex

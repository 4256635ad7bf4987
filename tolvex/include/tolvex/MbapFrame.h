#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tolvex {

constexpr size_t kMbapHeaderLength = 6;
// The largest segment one receive takes: a 7-byte header and a 254-byte PDU.
constexpr size_t kMbapMaxSegment = 261;

// Transaction identifier, protocol 0 and the PDU length (all high byte first), then the PDU
// (unit identifier first).
std::vector<uint8_t> BuildMbapFrame(std::span<const uint8_t> pdu, uint16_t transactionId);

struct MbapSegment {
    size_t receivedBytes = 0;              // the whole segment
    size_t pduBytes = 0;                   // bytes after the header, copied or not
    std::optional<uint16_t> transactionId; // absent when the segment is too short to judge
};

// Parses one received segment; copies at most reply.size() PDU bytes into reply.
MbapSegment ParseMbapSegment(std::span<const uint8_t> received, std::span<uint8_t> reply);

// Judges the last segment received for a reply PDU of reply.size() bytes (already copied into
// reply). Returns 0, the device's exception code, or 10, 12, 13.
uint16_t JudgeTcpReply(const MbapSegment& segment, std::span<const uint8_t> reply);

} // namespace tolvex

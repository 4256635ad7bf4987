#include "tolvex/MbapFrame.h"

#include "ExceptionReply.h"
#include "tolvex/ResultCode.h"

#include <algorithm>

namespace tolvex {
namespace {

// Header and at least slave, function and one byte: shorter segments carry no judgeable reply.
constexpr size_t kMinimumParsedSegment = kMbapHeaderLength + 3;

void AppendWord(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value & 0xFF));
}

} // namespace

std::vector<uint8_t> BuildMbapFrame(std::span<const uint8_t> pdu, uint16_t transactionId) {
    std::vector<uint8_t> frame;
    frame.reserve(kMbapHeaderLength + pdu.size());
    AppendWord(frame, transactionId);
    AppendWord(frame, 0);
    AppendWord(frame, static_cast<uint16_t>(pdu.size()));
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    return frame;
}

MbapSegment ParseMbapSegment(std::span<const uint8_t> received, std::span<uint8_t> reply) {
    std::fill(reply.begin(), reply.end(), uint8_t{0});
    MbapSegment segment;
    segment.receivedBytes = received.size();
    if (received.size() < kMinimumParsedSegment) {
        return segment;
    }
    segment.transactionId = static_cast<uint16_t>((received[0] << 8) | received[1]);
    const auto pdu = received.subspan(kMbapHeaderLength);
    segment.pduBytes = pdu.size();
    std::copy_n(pdu.begin(), std::min(pdu.size(), reply.size()), reply.begin());
    return segment;
}

uint16_t JudgeTcpReply(const MbapSegment& segment, std::span<const uint8_t> reply) {
    if (segment.receivedBytes == 0) {
        return Code(ResultCode::NoReply);
    }
    if (!segment.transactionId) {
        return Code(ResultCode::WrongLength);
    }
    if (reply.size() >= 3 && IsExceptionFunction(reply[1])) {
        return ExceptionResult(reply[2]);
    }
    if (segment.pduBytes != reply.size()) {
        return Code(ResultCode::WrongLength);
    }
    return Code(ResultCode::Success);
}

} // namespace tolvex

#include "TcpTransport.h"

#include "tolvex/ResultCode.h"

namespace tolvex {
namespace {

constexpr int kMaxReceives = 5;

} // namespace

uint16_t TcpTransport::SendRequest(std::span<const uint8_t> pdu) {
    ++transactionId_;
    if (!client_.IsSocketOpen()) {
        return Code(ResultCode::NotOpen);
    }
    return client_.Send(pdu, transactionId_) ? Code(ResultCode::Success)
                                             : Code(ResultCode::SendFailed);
}

// Reads past stale replies of earlier, timed-out transactions (at most kMaxReceives reads).
uint16_t TcpTransport::ReceiveReply(std::span<const uint8_t>, std::span<uint8_t> reply) {
    MbapSegment segment;
    for (int receives = 0; receives < kMaxReceives; ++receives) {
        const int got = client_.Receive(reply, segment);
        if (got < 0) {
            return Code(ResultCode::ReceiveFailed);
        }
        // A frame cut short by the deadline has no identifier: waiting longer cannot mend it.
        if (got == 0 || !segment.transactionId || segment.transactionId == transactionId_) {
            return JudgeTcpReply(segment, reply);
        }
    }
    // Only replies of other transactions came.
    return Code(ResultCode::ReplyMismatch);
}

} // namespace tolvex

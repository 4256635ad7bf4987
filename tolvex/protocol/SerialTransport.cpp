#include "SerialTransport.h"

#include "tolvex/ResultCode.h"

namespace tolvex {

uint16_t SerialTransport::SendRequest(std::span<const uint8_t> pdu) {
    const std::vector<uint8_t> frame = Frame(pdu);
    if (!port_.IsOpen()) {
        return Code(ResultCode::NotOpen);
    }
    port_.Purge(PurgeQueue::Receive);
    port_.Purge(PurgeQueue::Transmit);
    if (!port_.WriteFrame(frame)) {
        return Code(ResultCode::SendFailed);
    }
    AfterWrite();
    return Code(ResultCode::Success);
}

uint16_t SerialTransport::ReceiveReply(std::span<const uint8_t> pdu, std::span<uint8_t> reply) {
    if (pdu[0] == 0) {
        return Code(ResultCode::Success); // a broadcast gets no reply on a serial line
    }
    std::vector<uint8_t> received(ReplyFrameLength(reply.size()));
    const int got = ReadReplyFrame(received);
    if (got < 0) {
        return Code(ResultCode::ReceiveFailed);
    }
    return Judge(std::span<const uint8_t>(received).first(static_cast<size_t>(got)), reply);
}

} // namespace tolvex

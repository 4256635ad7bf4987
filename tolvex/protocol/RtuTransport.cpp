#include "RtuTransport.h"

#include "tolvex/RtuFrame.h"

namespace tolvex {

std::vector<uint8_t> RtuTransport::Frame(std::span<const uint8_t> pdu) const {
    return BuildRtuFrame(pdu);
}

size_t RtuTransport::ReplyFrameLength(size_t replyPduLength) const {
    return RtuReplyFrameLength(replyPduLength);
}

uint16_t RtuTransport::Judge(std::span<const uint8_t> frame, std::span<uint8_t> reply) const {
    return JudgeRtuReply(frame, reply);
}

} // namespace tolvex

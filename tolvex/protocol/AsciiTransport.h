#pragma once

#include "SerialTransport.h"

namespace tolvex {

// Frames of hexadecimal text from ":" to CR LF, closed by an LRC.
class AsciiTransport : public SerialTransport {
public:
    using SerialTransport::SerialTransport;

protected:
    std::vector<uint8_t> Frame(std::span<const uint8_t> pdu) const override;
    void AfterWrite() override;
    size_t ReplyFrameLength(size_t replyPduLength) const override;
    int ReadReplyFrame(std::span<uint8_t> frame) override;
    uint16_t Judge(std::span<const uint8_t> frame, std::span<uint8_t> reply) const override;
};

} // namespace tolvex

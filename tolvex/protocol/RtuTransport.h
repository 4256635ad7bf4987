#pragma once

#include "SerialTransport.h"

namespace tolvex {

// Binary frames closed by a CRC-16.
class RtuTransport : public SerialTransport {
public:
    using SerialTransport::SerialTransport;

protected:
    std::vector<uint8_t> Frame(std::span<const uint8_t> pdu) const override;
    size_t ReplyFrameLength(size_t replyPduLength) const override;
    uint16_t Judge(std::span<const uint8_t> frame, std::span<uint8_t> reply) const override;
};

} // namespace tolvex

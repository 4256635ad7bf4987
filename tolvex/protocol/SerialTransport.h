#pragma once

#include "ModbusTransport.h"
#include "SerialPort.h"

#include <vector>

namespace tolvex {

// The part RTU and ASCII share: both queues purged before each frame, broadcasts (slave 0) not
// answered, one reply frame read under the port's three-way timeout.
class SerialTransport : public ModbusTransport {
public:
    explicit SerialTransport(SerialPort& port) : port_(port) {}

    uint16_t SendRequest(std::span<const uint8_t> pdu) override;
    uint16_t ReceiveReply(std::span<const uint8_t> pdu, std::span<uint8_t> reply) override;

protected:
    virtual std::vector<uint8_t> Frame(std::span<const uint8_t> pdu) const = 0;
    virtual void AfterWrite() {}
    virtual size_t ReplyFrameLength(size_t replyPduLength) const = 0;
    // Bytes read into frame, or -1 when the read failed.
    virtual int ReadReplyFrame(std::span<uint8_t> frame) { return port_.ReadFrame(frame); }
    virtual uint16_t Judge(std::span<const uint8_t> frame, std::span<uint8_t> reply) const = 0;

    SerialPort& port_;
};

} // namespace tolvex

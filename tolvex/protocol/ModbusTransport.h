#pragma once

#include <cstdint>
#include <span>

namespace tolvex {

// How request PDUs reach a device and replies come back: RTU or ASCII framing on a serial line,
// or MBAP over TCP. Opening and closing take each medium's own settings, so they belong to the
// medium (SerialPort, TcpClient); a transport frames, sends and judges over it while it is open.
// Codes are those of ResultCode, or the device's exception.
class ModbusTransport {
public:
    virtual ~ModbusTransport() = default;

    // Frames and sends one request PDU (slave address first): 0, 16 when nothing is open, 14 when
    // it could not be sent.
    virtual uint16_t SendRequest(std::span<const uint8_t> pdu) = 0;
    // Waits within the medium's timeouts for the reply to the request just sent and judges it: 0
    // with the reply PDU in reply (reply.size() is the expected length), the device's exception
    // code, or 10, 11, 13, 15.
    virtual uint16_t ReceiveReply(std::span<const uint8_t> pdu, std::span<uint8_t> reply) = 0;
};

} // namespace tolvex

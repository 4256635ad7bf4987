#pragma once

#include "ModbusTransport.h"
#include "TcpClient.h"

namespace tolvex {

// MBAP frames over the TCP client, each with the next transaction identifier; replies carrying an
// earlier identifier are read past. A broadcast waits for its reply like any request.
class TcpTransport : public ModbusTransport {
public:
    explicit TcpTransport(TcpClient& client) : client_(client) {}

    uint16_t SendRequest(std::span<const uint8_t> pdu) override;
    uint16_t ReceiveReply(std::span<const uint8_t> pdu, std::span<uint8_t> reply) override;

private:
    TcpClient& client_;
    // Counted before every request, found open or not, so the first one carries 0.
    uint16_t transactionId_ = 0xFFFF;
};

} // namespace tolvex

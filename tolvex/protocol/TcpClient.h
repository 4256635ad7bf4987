#pragma once

#include "PollWait.h"
#include "tolvex/MbapFrame.h"

#include <cstdint>
#include <netinet/in.h>
#include <span>
#include <string>

namespace tolvex {

// The Modbus/TCP socket: connect by dotted IPv4 text, send MBAP frames, receive one frame.
class TcpClient {
public:
    TcpClient() = default;
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;
    ~TcpClient();

    // 0, 31 (refused, failed, or not connected within timeoutMs) or 33 (the text is not a usable
    // IPv4 address). The timeout also bounds each receive and each reconnect.
    uint16_t Connect(const std::string& address, uint16_t port, int timeoutMs);
    bool IsSocketOpen() const { return connected_; }
    void Disconnect();

    // Sends one MBAP frame; on failure the socket is replaced for the next transaction.
    bool Send(std::span<const uint8_t> pdu, uint16_t transactionId);

    // Receives one frame (however TCP splits it) into reply (at most reply.size() PDU bytes).
    // Returns the segment's size, 0 when nothing came within the timeout, -1 on failure or a closed
    // connection.
    int Receive(std::span<uint8_t> reply, MbapSegment& segment);

private:
    bool OpenSocket();
    void CloseSocket();
    void Reconnect();
    // One recv into `into` once readable: its byte count, 0 at the deadline, -1 on failure.
    int ReceiveMore(std::span<uint8_t> into, Clock::time_point deadline);

    int fd_ = -1;
    sockaddr_in server_{};
    int receiveWaitMs_ = 0;
    bool connected_ = false;
};

} // namespace tolvex

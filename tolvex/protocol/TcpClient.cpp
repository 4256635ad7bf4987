#include "TcpClient.h"

#include "PollWait.h"
#include "tolvex/ResultCode.h"

#include <algorithm>
#include <arpa/inet.h>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvex {
namespace {

constexpr auto kWritableWait = std::chrono::seconds(2);

// Dotted IPv4 text; 255.255.255.255 is refused as no server can have it.
bool ParseAddress(const std::string& text, in_addr& address) {
    return ::inet_pton(AF_INET, text.c_str(), &address) == 1 && address.s_addr != INADDR_NONE;
}

// The byte count after the length field, as the header announces it.
size_t AnnouncedLength(std::span<const uint8_t> header) {
    return static_cast<size_t>(header[4] << 8 | header[5]);
}

// Connects the non-blocking socket within the wait, so that a server whose listen queue is full
// costs the control's timeout rather than the system's minutes of retries. No wait: the
// system's own limit.
bool ConnectWithin(int fd, const sockaddr_in& server, int waitMs) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0) {
        return true;
    }
    if (errno != EINPROGRESS && errno != EINTR) {
        return false;
    }
    std::optional<Clock::time_point> deadline;
    if (waitMs > 0) {
        deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    }
    if (WaitReady(fd, POLLOUT, deadline) != PollOutcome::Ready) {
        return false;
    }
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

} // namespace

TcpClient::~TcpClient() {
    Disconnect();
}

uint16_t TcpClient::Connect(const std::string& address, uint16_t port, int timeoutMs) {
    Disconnect();
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(port);
    if (!ParseAddress(address, server.sin_addr)) {
        return Code(ResultCode::AddressInvalid);
    }
    server_ = server;
    receiveWaitMs_ = timeoutMs;
    if (!OpenSocket()) {
        CloseSocket();
        return Code(ResultCode::ConnectFailed);
    }
    connected_ = true;
    return Code(ResultCode::Success);
}

bool TcpClient::OpenSocket() {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0 || !ConnectWithin(fd_, server_, receiveWaitMs_)) {
        return false;
    }
    // Sends and receives wait in poll; the socket itself blocks again, so a send goes out whole.
    const int flags = ::fcntl(fd_, F_GETFL);
    return flags >= 0 && ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

void TcpClient::CloseSocket() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void TcpClient::Disconnect() {
    CloseSocket();
    connected_ = false;
}

void TcpClient::Reconnect() {
    CloseSocket();
    // The transaction at hand fails anyway; without a socket the next send tries again.
    if (!OpenSocket()) {
        CloseSocket();
    }
}

bool TcpClient::Send(std::span<const uint8_t> pdu, uint16_t transactionId) {
    if (fd_ < 0 || WaitReady(fd_, POLLOUT, Clock::now() + kWritableWait) != PollOutcome::Ready) {
        Reconnect();
        return false;
    }
    const auto frame = BuildMbapFrame(pdu, transactionId);
    const ssize_t sent = ::send(fd_, frame.data(), frame.size(), MSG_NOSIGNAL);
    if (sent != static_cast<ssize_t>(frame.size())) {
        Reconnect();
        return false;
    }
    return true;
}

int TcpClient::Receive(std::span<uint8_t> reply, MbapSegment& segment) {
    segment = MbapSegment{};
    if (fd_ < 0) {
        return -1;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(receiveWaitMs_);
    std::array<uint8_t, kMbapMaxSegment> received{};
    // TCP may split a frame: read the header, then exactly the length it announces, so a
    // partly arrived reply is completed and the next frame stays in the socket.
    size_t got = 0;
    size_t wanted = kMbapHeaderLength;
    while (got < wanted) {
        const int more = ReceiveMore(std::span(received).subspan(got, wanted - got), deadline);
        if (more < 0) {
            return -1;
        }
        if (more == 0) {
            break; // judged by what came
        }
        got += static_cast<size_t>(more);
        if (got >= kMbapHeaderLength) {
            wanted = std::min(kMbapMaxSegment, kMbapHeaderLength + AnnouncedLength(received));
        }
    }
    if (got == 0) {
        return 0;
    }
    segment = ParseMbapSegment(std::span(received).first(got), reply);
    return static_cast<int>(got);
}

int TcpClient::ReceiveMore(std::span<uint8_t> into, Clock::time_point deadline) {
    switch (WaitReady(fd_, POLLIN, deadline)) {
    case PollOutcome::TimedOut:
        return 0;
    case PollOutcome::Failed:
        return -1;
    case PollOutcome::Ready:
        break;
    }
    ssize_t got;
    do {
        got = ::recv(fd_, into.data(), into.size(), 0);
    } while (got < 0 && errno == EINTR);
    // An error, or the server closed the connection.
    return got <= 0 ? -1 : static_cast<int>(got);
}

} // namespace tolvex

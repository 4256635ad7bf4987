#include "ModbusMaster.h"
#include "tolvex/MbapFrame.h"
#include "tolvex/ResultCode.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tolvex {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

constexpr int kReceiveWaitMs = 400;

// A scripted Modbus/TCP server on 127.0.0.1 with a real listening socket.
class FakeTcpServer {
public:
    explicit FakeTcpServer(int backlog = 4) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(listener_, backlog) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("cannot listen on 127.0.0.1");
        }
        port_ = ntohs(address.sin_port);
    }
    ~FakeTcpServer() {
        if (script_.joinable()) {
            script_.join();
        }
        for (int fd : connections_) {
            ::close(fd);
        }
        ::close(listener_);
    }

    uint16_t Port() const { return port_; }
    void Run(std::function<void()> script) { script_ = std::thread(std::move(script)); }
    void Join() { script_.join(); }

    int Accept() {
        const int fd = ::accept(listener_, nullptr, nullptr);
        connections_.push_back(fd);
        return fd;
    }

    // One whole request frame (header and PDU), or nothing when none came in time.
    static Bytes ReadFrame(int fd) {
        Bytes header = ReadExactly(fd, kMbapHeaderLength);
        if (header.size() < kMbapHeaderLength) {
            return {};
        }
        const Bytes pdu = ReadExactly(fd, static_cast<size_t>((header[4] << 8) | header[5]));
        header.insert(header.end(), pdu.begin(), pdu.end());
        return header;
    }

    static void Send(int fd, const Bytes& bytes) {
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }

private:
    static Bytes ReadExactly(int fd, size_t count) {
        Bytes bytes(count);
        size_t got = 0;
        while (got < count) {
            pollfd entry{fd, POLLIN, 0};
            if (::poll(&entry, 1, 3000) <= 0) {
                break;
            }
            const ssize_t n = ::recv(fd, bytes.data() + got, count - got, 0);
            if (n <= 0) {
                break;
            }
            got += static_cast<size_t>(n);
        }
        bytes.resize(got);
        return bytes;
    }

    int listener_ = -1;
    uint16_t port_ = 0;
    std::vector<int> connections_;
    std::thread script_;
};

uint16_t TransactionId(const Bytes& frame) {
    return frame.size() < 2 ? 0xFFFF : static_cast<uint16_t>((frame[0] << 8) | frame[1]);
}

Bytes Reply(uint16_t transactionId, const Bytes& pdu) {
    return BuildMbapFrame(pdu, transactionId);
}

const Bytes kTwoRegisters{0x01, 0x03, 0x04, 0x41, 0x20, 0x00, 0x00};

class TcpExchange : public ::testing::Test {
protected:
    void Connect() {
        ASSERT_EQ(master.Tcp().Connect("127.0.0.1", server.Port(), kReceiveWaitMs), 0);
        master.SetTransportMode(TransportMode::Tcp);
    }
    uint16_t ReadTwoRegisters() { return master.ReadRegisters(1, 3, 0, 2, registers); }

    FakeTcpServer server;
    ModbusMaster master;
    Bytes registers = Bytes(4, 0);
};

TEST(TcpConnect, AddressesThatDoNotConvert) {
    TcpClient client;
    EXPECT_EQ(client.Connect("255.255.255.255", 502, 1000), Code(ResultCode::AddressInvalid));
    EXPECT_EQ(client.Connect("192.168.0", 502, 1000), Code(ResultCode::AddressInvalid));
    EXPECT_EQ(client.Connect("300.1.1.1", 502, 1000), Code(ResultCode::AddressInvalid));
    EXPECT_FALSE(client.IsSocketOpen());
}

TEST(TcpConnect, RefusedConnectionFails) {
    uint16_t unusedPort;
    {
        FakeTcpServer closedSoon;
        unusedPort = closedSoon.Port();
    }
    TcpClient client;
    EXPECT_EQ(client.Connect("127.0.0.1", unusedPort, 1000), Code(ResultCode::ConnectFailed));
    EXPECT_FALSE(client.IsSocketOpen());
}

TEST(TcpConnect, AServerWhoseListenQueueIsFullFailsWithinTheTimeout) {
    FakeTcpServer server(0);
    const int filler = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(server.Port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    // Room is made later: a connect that waited the system's time for its retries would succeed.
    std::thread makeRoom([&server] {
        std::this_thread::sleep_for(2s);
        server.Accept();
    });
    TcpClient client;
    EXPECT_EQ(client.Connect("127.0.0.1", server.Port(), 300), Code(ResultCode::ConnectFailed));
    EXPECT_FALSE(client.IsSocketOpen());
    makeRoom.join();
    ::close(filler);
}

TEST_F(TcpExchange, NotConnectedIsNotOpen) {
    master.SetTransportMode(TransportMode::Tcp);
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::NotOpen));
}

TEST_F(TcpExchange, RequestFrameAndReply) {
    Bytes request;
    server.Run([&] {
        const int fd = server.Accept();
        request = FakeTcpServer::ReadFrame(fd);
        FakeTcpServer::Send(fd, Reply(TransactionId(request), kTwoRegisters));
    });
    Connect();
    EXPECT_EQ(ReadTwoRegisters(), 0);
    server.Join();
    EXPECT_EQ(request, (Bytes{0, 0, 0, 0, 0, 6, 0x01, 0x03, 0x00, 0x00, 0x00, 0x02}));
    uint16_t first;
    std::memcpy(&first, registers.data(), 2);
    EXPECT_EQ(first, 0x4120);
}

TEST_F(TcpExchange, TransactionIdentifiersCountUpAndWrap) {
    std::vector<uint16_t> seen;
    server.Run([&] {
        const auto answer = [&](int fd) {
            const Bytes request = FakeTcpServer::ReadFrame(fd);
            seen.push_back(TransactionId(request));
            FakeTcpServer::Send(fd, Reply(TransactionId(request), kTwoRegisters));
        };
        const int first = server.Accept();
        answer(first);
        answer(first);
        answer(server.Accept());
    });
    Connect();
    EXPECT_EQ(ReadTwoRegisters(), 0);
    EXPECT_EQ(ReadTwoRegisters(), 0);
    // Every exchange counts, even one that finds no connection.
    master.Tcp().Disconnect();
    for (int i = 0; i < 65534; ++i) {
        ASSERT_EQ(ReadTwoRegisters(), Code(ResultCode::NotOpen));
    }
    Connect();
    EXPECT_EQ(ReadTwoRegisters(), 0);
    server.Join();
    EXPECT_EQ(seen, (std::vector<uint16_t>{0, 1, 0}));
}

TEST_F(TcpExchange, StaleReplyIsSkipped) {
    server.Run([&] {
        const int fd = server.Accept();
        const uint16_t id = TransactionId(FakeTcpServer::ReadFrame(fd));
        FakeTcpServer::Send(fd, Reply(id - 1, {0x01, 0x03, 0x04, 0xDE, 0xAD, 0xBE, 0xEF}));
        std::this_thread::sleep_for(150ms);
        FakeTcpServer::Send(fd, Reply(id, kTwoRegisters));
    });
    Connect();
    EXPECT_EQ(ReadTwoRegisters(), 0);
    server.Join();
    EXPECT_EQ(registers[1] << 8 | registers[0], 0x4120) << "the current reply's data is taken";
}

TEST_F(TcpExchange, OnlyStaleRepliesNeverCountAsTheAnswer) {
    server.Run([&] {
        const int fd = server.Accept();
        const uint16_t id = TransactionId(FakeTcpServer::ReadFrame(fd));
        for (int i = 0; i < 5; ++i) {
            FakeTcpServer::Send(fd, Reply(id + 100 + i, kTwoRegisters));
            std::this_thread::sleep_for(100ms);
        }
    });
    Connect();
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ReplyMismatch));
    server.Join();
    EXPECT_EQ(registers, Bytes(4, 0));
}

TEST_F(TcpExchange, SilenceIsNoReply) {
    server.Run([&] {
        const int fd = server.Accept();
        FakeTcpServer::ReadFrame(fd);
    });
    Connect();
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::NoReply));
    server.Join();
}

TEST_F(TcpExchange, TruncatedReplyIsWrongLength) {
    server.Run([&] {
        const int fd = server.Accept();
        FakeTcpServer::ReadFrame(fd);
        FakeTcpServer::Send(fd, {0x00, 0x00, 0x00});
    });
    Connect();
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::WrongLength));
    server.Join();
    EXPECT_EQ(registers, Bytes(4, 0));
}

TEST_F(TcpExchange, ReplySplitAcrossSegmentsIsReassembled) {
    server.Run([&] {
        const int fd = server.Accept();
        const Bytes reply = Reply(TransactionId(FakeTcpServer::ReadFrame(fd)), kTwoRegisters);
        FakeTcpServer::Send(fd, Bytes(reply.begin(), reply.begin() + 4));
        std::this_thread::sleep_for(100ms);
        FakeTcpServer::Send(fd, Bytes(reply.begin() + 4, reply.begin() + 9));
        std::this_thread::sleep_for(100ms);
        FakeTcpServer::Send(fd, Bytes(reply.begin() + 9, reply.end()));
    });
    Connect();
    EXPECT_EQ(ReadTwoRegisters(), 0);
    server.Join();
    EXPECT_EQ(registers[1] << 8 | registers[0], 0x4120);
}

TEST_F(TcpExchange, StaleAndCurrentReplyInOneSegmentAreTakenApart) {
    server.Run([&] {
        const int fd = server.Accept();
        const uint16_t id = TransactionId(FakeTcpServer::ReadFrame(fd));
        Bytes both = Reply(id - 1, {0x01, 0x03, 0x04, 0xDE, 0xAD, 0xBE, 0xEF});
        const Bytes current = Reply(id, kTwoRegisters);
        both.insert(both.end(), current.begin(), current.end());
        FakeTcpServer::Send(fd, both);
    });
    Connect();
    EXPECT_EQ(ReadTwoRegisters(), 0);
    server.Join();
    EXPECT_EQ(registers[1] << 8 | registers[0], 0x4120);
}

TEST_F(TcpExchange, ExceptionAndMalformedReplies) {
    server.Run([&] {
        const int fd = server.Accept();
        uint16_t id = TransactionId(FakeTcpServer::ReadFrame(fd));
        FakeTcpServer::Send(fd, Reply(id, {0x01, 0x83, 0x04}));
        id = TransactionId(FakeTcpServer::ReadFrame(fd));
        Bytes oversized = Reply(id, Bytes(255, 0x01));
        oversized[7] = 0x03;
        FakeTcpServer::Send(fd, oversized);
        id = TransactionId(FakeTcpServer::ReadFrame(fd));
        FakeTcpServer::Send(fd, Reply(id, {0x02, 0x03, 0x04, 1, 2, 3, 4}));
    });
    Connect();
    EXPECT_EQ(ReadTwoRegisters(), 4);
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::WrongLength));
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ReplyMismatch));
    server.Join();
}

TEST_F(TcpExchange, ReconnectsAfterTheServerDropsTheConnection) {
    int connections = 0;
    server.Run([&] {
        const int first = server.Accept();
        ++connections;
        FakeTcpServer::ReadFrame(first);
        ::shutdown(first, SHUT_RDWR);
        const int second = server.Accept();
        ++connections;
        const Bytes request = FakeTcpServer::ReadFrame(second);
        FakeTcpServer::Send(second, Reply(TransactionId(request), kTwoRegisters));
    });
    Connect();
    std::vector<uint16_t> results;
    for (int attempt = 0; attempt < 6 && (results.empty() || results.back() != 0); ++attempt) {
        results.push_back(ReadTwoRegisters());
    }
    server.Join();
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(results.back(), 0) << "a later transaction runs on the new connection";
    EXPECT_EQ(connections, 2);
    for (size_t i = 0; i + 1 < results.size(); ++i) {
        EXPECT_TRUE(results[i] == Code(ResultCode::SendFailed) ||
                    results[i] == Code(ResultCode::ReceiveFailed))
            << results[i];
    }
    EXPECT_TRUE(master.Tcp().IsSocketOpen());
}

} // namespace
} // namespace tolvex

#include "CTolvexCtrl.h"
#include "HostLoop.h"
#include "PeerProcess.h"
#include "TcpControl.h"
#include "tolvex/PortTable.h"
#include "tolvex/ResultCode.h"

#include <arpa/inet.h>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <netinet/in.h>
#include <pty.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvex {
namespace {

using test::HostLoop;
using test::PeerProcess;

constexpr short kPeerPort = 17;
constexpr short kBaud19200 = 7;

// A loopback port with nobody listening: bound, then closed again.
uint16_t UnusedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// The same reads and writes against the pymodbus slave, whatever the transport.
void ExerciseThePeer(CTolvexCtrl& control, HostLoop& host) {
    ASSERT_TRUE(control.ReadHoldingRegisters(0, 1, 5, 3, 50));
    ASSERT_TRUE(host.RunOnce(0));
    ASSERT_EQ(control.GetResult(0), 0);
    EXPECT_EQ(control.Register(0, 0), 0x1005);
    EXPECT_EQ(control.Register(0, 2), 0x1007);

    ASSERT_TRUE(control.ReadInputRegisters(0, 1, 299, 1, 50));
    ASSERT_TRUE(host.RunOnce(0));
    EXPECT_EQ(control.Register(0, 0), 0x2000 + 299);

    ASSERT_TRUE(control.ReadCoilStatus(0, 1, 0, 10, 50));
    ASSERT_TRUE(host.RunOnce(0));
    for (short i = 0; i < 10; ++i) {
        EXPECT_EQ(control.Coil(0, i), i % 3 == 0 ? 1 : 0) << i;
    }

    control.SetRegister(0, 0, 4321);
    ASSERT_TRUE(control.PresetSingleRegister(0, 1, 150, 50));
    ASSERT_TRUE(host.RunOnce(0));
    ASSERT_EQ(control.GetResult(0), 0);
    ASSERT_TRUE(control.ReadHoldingRegisters(0, 1, 150, 1, 50));
    ASSERT_TRUE(host.RunOnce(0));
    EXPECT_EQ(control.Register(0, 0), 4321);

    // Beyond the slave's 300 registers: its exception.
    ASSERT_TRUE(control.ReadHoldingRegisters(0, 1, 400, 1, 50));
    ASSERT_TRUE(host.RunOnce(0));
    EXPECT_EQ(host.events.back().error, 2);
}

class ControlOverSerial : public ::testing::TestWithParam<short> {
protected:
    void TearDown() override { SetPortDevice(kPeerPort, ""); }
};

TEST_P(ControlOverSerial, TalksToThePymodbusSlave) {
    PeerProcess peer(GetParam() == 1 ? "ascii" : "rtu");
    ASSERT_TRUE(peer.Ready()) << peer.Failure();
    ASSERT_TRUE(SetPortDevice(kPeerPort, peer.Where()));
    auto control = std::make_unique<CTolvexCtrl>();
    HostLoop host(*control);
    control->SetConnection(kPeerPort);
    control->SetBaudRate(kBaud19200);
    control->SetProtocolMode(GetParam());
    ASSERT_TRUE(control->OpenConnection()) << control->GetLastError();
    EXPECT_EQ(control->StatusText(), "Port 17, 19200 baud, Open");
    EXPECT_FALSE(control->OpenConnection());
    EXPECT_EQ(control->GetLastError(), Code(ResultCode::AlreadyConnected));
    ExerciseThePeer(*control, host);
    control->CloseConnection();
    EXPECT_EQ(control->StatusText(), "Port 17, 19200 baud, Closed");
}

INSTANTIATE_TEST_SUITE_P(RtuAndAscii, ControlOverSerial, ::testing::Values(0, 1));

TEST(ControlOverTcp, TalksToThePymodbusServer) {
    PeerProcess peer("tcp");
    auto control = std::make_unique<CTolvexCtrl>();
    HostLoop host(*control);
    ASSERT_TRUE(peer.Ready()) << peer.Failure();
    test::UseLoopbackServer(*control, static_cast<uint16_t>(std::stoi(peer.Where())));
    ASSERT_TRUE(control->OpenConnection()) << control->GetLastError();
    ExerciseThePeer(*control, host);
}

// How long a read on a line where nobody answers takes to fail.
std::chrono::milliseconds SilentReadTime(CTolvexCtrl& control, HostLoop& host) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(control.ReadHoldingRegisters(0, 1, 0, 1, 50));
    EXPECT_TRUE(host.RunOnce(0));
    EXPECT_EQ(control.GetResult(0), Code(ResultCode::NoReply));
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

TEST_F(ControlOverSerial, ATimeoutChangedOnAnOpenLineAppliesToTheNextRequest) {
    int master = -1;
    int slave = -1;
    char name[64];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    ASSERT_TRUE(SetPortDevice(kPeerPort, name));
    auto control = std::make_unique<CTolvexCtrl>();
    HostLoop host(*control);
    control->SetConnection(kPeerPort);
    control->SetTimeout(2000);
    ASSERT_TRUE(control->OpenConnection()) << control->GetLastError();
    const auto atOpen = SilentReadTime(*control, host);
    control->SetTimeout(300);
    const auto changed = SilentReadTime(*control, host);
    ASSERT_TRUE(control->SetReplyTimeout(20));
    const auto quick = SilentReadTime(*control, host);
    EXPECT_FALSE(control->SetReplyTimeout(9));
    EXPECT_EQ(control->GetLastError(), Code(ResultCode::TimeoutOutOfRange));
    EXPECT_LT(changed * 2, atOpen);
    EXPECT_LT(quick * 2, changed);
    control->CloseConnection();
    close(master);
    close(slave);
}

TEST(ControlOpenFailures, SerialPortThatCannotBeOpened) {
    ASSERT_TRUE(SetPortDevice(kPeerPort, "/nonexistent/tty"));
    auto control = std::make_unique<CTolvexCtrl>();
    control->SetConnection(kPeerPort);
    EXPECT_FALSE(control->OpenConnection());
    EXPECT_EQ(control->GetLastError(), Code(ResultCode::PortOpenFailed));
    EXPECT_FALSE(control->IsConnected());
    SetPortDevice(kPeerPort, "");
}

TEST(ControlOpenFailures, TcpRefusedAndUnconvertibleAddress) {
    auto control = std::make_unique<CTolvexCtrl>();
    test::UseLoopbackServer(*control, UnusedPort());
    EXPECT_FALSE(control->OpenConnection());
    EXPECT_EQ(control->GetLastError(), Code(ResultCode::ConnectFailed));
    for (short part = 1; part <= 4; ++part) {
        control->SetIPAddr(part, 255);
    }
    EXPECT_FALSE(control->OpenConnection());
    EXPECT_EQ(control->GetLastError(), Code(ResultCode::AddressInvalid));
    EXPECT_FALSE(control->IsConnected());
}

TEST(ControlOpenFailures, RequestsOnAClosedConnectionAreOnlyDefined) {
    auto control = std::make_unique<CTolvexCtrl>();
    ASSERT_TRUE(control->ReadHoldingRegisters(0, 1, 0, 1, 0));
    ASSERT_TRUE(control->UpdateOnce(0));
    EXPECT_EQ(control->GetResult(0), Code(ResultCode::Pending));
    EXPECT_TRUE(control->IsBusy(0));
}

} // namespace
} // namespace tolvex

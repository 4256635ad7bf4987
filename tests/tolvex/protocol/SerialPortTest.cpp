#include "SerialPort.h"

#include "PtyPair.h"
#include "tolvex/PortTable.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace tolvex {
namespace {

using namespace std::chrono_literals;
using test::PtyPair;
using Bytes = std::vector<uint8_t>;
using Millis = std::chrono::milliseconds;

constexpr int kPort = 7;

TEST(PortTable, DefaultsAndBindings) {
    EXPECT_EQ(GetPortDevice(1), "/dev/ttyS0");
    EXPECT_EQ(GetPortDevice(32), "/dev/ttyS31");
    EXPECT_EQ(GetPortDevice(0), "");
    EXPECT_EQ(GetPortDevice(33), "");
    EXPECT_FALSE(SetPortDevice(33, "/dev/null"));
    EXPECT_FALSE(SetPortDevice(0, "/dev/null"));
    ASSERT_TRUE(SetPortDevice(3, "/dev/ttyUSB0"));
    EXPECT_EQ(GetPortDevice(3), "/dev/ttyUSB0");
    ASSERT_TRUE(SetPortDevice(3, ""));
    EXPECT_EQ(GetPortDevice(3), "/dev/ttyS2");
}

TEST(PortTable, ConcurrentBindingsStayConsistent) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 500; ++i) {
                SetPortDevice(20 + t, "/dev/ttyX" + std::to_string(i));
                EXPECT_EQ(GetPortDevice(20 + t).rfind("/dev/ttyX", 0), 0U);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(GetPortDevice(20 + t), "/dev/ttyX499");
        SetPortDevice(20 + t, "");
    }
}

class SerialPortOnPty : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SetPortDevice(kPort, pty.DevicePath())); }
    void TearDown() override { SetPortDevice(kPort, ""); }

    void OpenWithTimeouts(const SerialTimeouts& timeouts) {
        ASSERT_TRUE(port.Open(kPort, LineSettings{}));
        ASSERT_TRUE(port.SetTimeouts(timeouts));
    }

    PtyPair pty;
    SerialPort port;
};

TEST_F(SerialPortOnPty, OpenRefusesBadNumbersAndMissingDevices) {
    EXPECT_FALSE(port.Open(33, LineSettings{}));
    EXPECT_FALSE(port.Open(0, LineSettings{}));
    ASSERT_TRUE(SetPortDevice(kPort + 1, "/dev/tolvex-no-such-device"));
    EXPECT_FALSE(port.Open(kPort + 1, LineSettings{}));
    SetPortDevice(kPort + 1, "");
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(SerialPortOnPty, SecondOpenFailsAndLeavesThePortOpen) {
    ASSERT_TRUE(port.Open(kPort, LineSettings{}));
    EXPECT_FALSE(port.Open(kPort, LineSettings{}));
    EXPECT_TRUE(port.IsOpen());
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.Open(kPort, LineSettings{})) << "closing releases the device";
}

TEST_F(SerialPortOnPty, PortInUseElsewhereCannotBeOpened) {
    ASSERT_TRUE(port.Open(kPort, LineSettings{}));
    SerialPort other;
    EXPECT_FALSE(other.Open(kPort, LineSettings{}));
    port.Close();
    EXPECT_TRUE(other.Open(kPort, LineSettings{}));
}

TEST_F(SerialPortOnPty, LineSettingsReachTheDevice) {
    ASSERT_TRUE(port.Open(kPort, LineSettings{19200, 7, Parity::Odd, true}));
    const termios tio = pty.LineSettings();
    // A pseudo-terminal forces 8 bits without parity and keeps no rate; the rest is visible.
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_TRUE(tio.c_iflag & INPCK);
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF));
    EXPECT_FALSE(tio.c_lflag & ICANON);
}

TEST_F(SerialPortOnPty, NonStandardRatesAreAccepted) {
    for (uint32_t rate : {14400U, 56000U, 300U, 115200U}) {
        EXPECT_TRUE(port.Open(kPort, LineSettings{rate, 8, Parity::Even, false})) << rate;
        port.Close();
    }
}

TEST_F(SerialPortOnPty, ClosedPortRefusesEverything) {
    EXPECT_FALSE(port.SetTimeouts(SerialTimeouts{100, 1, 200, 0, 0}));
    EXPECT_EQ(port.GetTimeouts().readConstant, 200U) << "timeouts are kept for the next open";
    Bytes buffer(4);
    EXPECT_EQ(port.ReadFrame(buffer), -1);
    EXPECT_FALSE(port.WriteFrame(Bytes{1, 2, 3}));
}

TEST_F(SerialPortOnPty, RtsModeIsKept) {
    EXPECT_EQ(port.GetRtsMode(), 0);
    port.SetRtsMode(2);
    EXPECT_EQ(port.GetRtsMode(), 2);
    // A pseudo-terminal has neither RS-485 mode nor modem lines: frames still go out.
    OpenWithTimeouts(SerialTimeouts{});
    const Bytes frame{0x01, 0x02, 0x03};
    ASSERT_TRUE(port.WriteFrame(frame));
    EXPECT_EQ(pty.Read(3, 2000ms), frame);
}

TEST_F(SerialPortOnPty, PurgeDiscardsWaitingInput) {
    OpenWithTimeouts(SerialTimeouts{SerialTimeouts::kNoInterval, 0, 0, 0, 0});
    pty.Write(Bytes{1, 2, 3});
    std::this_thread::sleep_for(100ms);
    port.Purge(PurgeQueue::Receive);
    Bytes buffer(3);
    EXPECT_EQ(port.ReadFrame(buffer), 0);
}

TEST_F(SerialPortOnPty, ImmediateReadReturnsWhatIsWaiting) {
    OpenWithTimeouts(SerialTimeouts{SerialTimeouts::kNoInterval, 0, 0, 0, 0});
    Bytes buffer(8);
    EXPECT_EQ(port.ReadFrame(buffer), 0);
    pty.Write(Bytes{7, 8});
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(port.ReadFrame(buffer), 2);
    EXPECT_EQ(buffer[1], 8);
}

class ReadTimeoutArithmetic : public SerialPortOnPty {
protected:
    // Runs one read and returns its result and how long it took.
    std::pair<int, Millis> TimedRead(Bytes& buffer) {
        const auto start = std::chrono::steady_clock::now();
        const int got = port.ReadFrame(buffer);
        return {got, std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now() - start)};
    }
};

// Bounds are wide so that a loaded machine does not make them flake; the lower bounds are the
// arithmetic itself.
TEST_F(ReadTimeoutArithmetic, SilentLineEndsAfterMultiplierTimesCountPlusConstant) {
    OpenWithTimeouts(SerialTimeouts{0, 20, 300, 0, 0});
    Bytes buffer(10);
    const auto [got, took] = TimedRead(buffer);
    EXPECT_EQ(got, 0);
    EXPECT_GE(took, Millis(20 * 10 + 300) - 2ms);
    EXPECT_LT(took, Millis(20 * 10 + 300) + 4000ms);
}

TEST_F(ReadTimeoutArithmetic, GapLongerThanIntervalEndsTheRead) {
    OpenWithTimeouts(SerialTimeouts{150, 1, 8000, 0, 0});
    pty.Write(Bytes{1, 2, 3});
    Bytes buffer(10);
    const auto [got, took] = TimedRead(buffer);
    EXPECT_EQ(got, 3);
    EXPECT_GE(took, 150ms - 2ms);
    EXPECT_LT(took, 8000ms) << "the interval, not the total, ended the read";
}

TEST_F(ReadTimeoutArithmetic, FullCountEndsTheReadAtOnce) {
    OpenWithTimeouts(SerialTimeouts{5000, 100, 20000, 0, 0});
    pty.Write(Bytes{1, 2, 3, 4});
    Bytes buffer(4);
    const auto [got, took] = TimedRead(buffer);
    EXPECT_EQ(got, 4);
    EXPECT_LT(took, 5000ms) << "neither the interval nor the total was waited for";
}

TEST_F(ReadTimeoutArithmetic, ShortGapsKeepTheReadGoing) {
    OpenWithTimeouts(SerialTimeouts{1500, 1, 20000, 0, 0});
    std::thread writer([this] {
        for (uint8_t chunk = 0; chunk < 4; ++chunk) {
            pty.Write(Bytes{chunk, chunk});
            std::this_thread::sleep_for(40ms);
        }
    });
    Bytes buffer(8);
    const auto [got, took] = TimedRead(buffer);
    writer.join();
    EXPECT_EQ(got, 8);
    EXPECT_EQ(buffer, (Bytes{0, 0, 1, 1, 2, 2, 3, 3}));
}

TEST_F(ReadTimeoutArithmetic, TotalTimeoutEndsATrickle) {
    OpenWithTimeouts(SerialTimeouts{2000, 10, 400, 0, 0});
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        while (!stop) {
            pty.Write(Bytes{0x55});
            std::this_thread::sleep_for(50ms);
        }
    });
    Bytes buffer(100);
    const auto [got, took] = TimedRead(buffer);
    stop = true;
    writer.join();
    EXPECT_GT(got, 0);
    EXPECT_LT(got, 100);
    EXPECT_GE(took, Millis(10 * 100 + 400) - 2ms);
    EXPECT_LT(took, Millis(10 * 100 + 400) + 4000ms);
}

TEST_F(SerialPortOnPty, VanishedDeviceIsAReadFailureNotATimeout) {
    OpenWithTimeouts(SerialTimeouts{100, 10, 30000, 0, 0});
    pty.CloseController();
    Bytes buffer(16);
    EXPECT_EQ(port.ReadFrame(buffer), -1);
}

TEST_F(SerialPortOnPty, DeviceVanishingMidReadIsAReadFailure) {
    OpenWithTimeouts(SerialTimeouts{5000, 10, 30000, 0, 0});
    std::thread peer([this] {
        pty.Write(Bytes{1, 2});
        std::this_thread::sleep_for(100ms);
        pty.CloseController();
    });
    Bytes buffer(16);
    EXPECT_EQ(port.ReadFrame(buffer), -1);
    peer.join();
}

} // namespace
} // namespace tolvex

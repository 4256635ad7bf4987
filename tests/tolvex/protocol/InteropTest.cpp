#include "ModbusMaster.h"
#include "PeerProcess.h"
#include "support/MissingPeer.h"
#include "tolvex/PortTable.h"
#include "tolvex/ResultCode.h"

#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace tolvex {
namespace {

using test::PeerProcess;
using Bytes = std::vector<uint8_t>;

constexpr int kPort = 11;
constexpr uint8_t kSlave = 1;
constexpr uint8_t kAbsentSlave = 7;

Bytes Registers(std::initializer_list<uint16_t> values) {
    Bytes out(2 * values.size());
    std::memcpy(out.data(), std::data(values), out.size());
    return out;
}

// Round trips of every function code against a pymodbus slave: RTU and ASCII over a socat
// pseudo-terminal pair, Modbus/TCP over 127.0.0.1. The slave's data: coil i = (i % 3 == 0),
// input i = (i % 2 == 1), holding register i = 0x1000 + i, input register i = 0x2000 + i.
class Interop : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        peer = std::make_unique<PeerProcess>(GetParam());
        if (!peer->Ready()) {
            SKIP_OR_FAIL_WITHOUT_PEER("Modbus peer unavailable: " + peer->Failure());
        }
        if (GetParam() == "tcp") {
            ASSERT_EQ(master.Tcp().Connect("127.0.0.1", std::stoi(peer->Where()), 2000), 0);
            master.SetTransportMode(TransportMode::Tcp);
            return;
        }
        ASSERT_TRUE(SetPortDevice(kPort, peer->Where()));
        ASSERT_TRUE(master.Open(kPort, LineSettings{19200, 8, Parity::None, false}));
        const bool ascii = GetParam() == "ascii";
        master.SetTimeouts(SerialTimeouts{ascii ? 1000U : 120U, 1, 2000, 1, 200});
        master.SetTransportMode(ascii ? TransportMode::Ascii : TransportMode::Rtu);
    }
    void TearDown() override {
        master.Close();
        master.Tcp().Disconnect();
        SetPortDevice(kPort, "");
        peer.reset();
    }

    Bytes ReadHolding(uint16_t address, uint16_t quantity) {
        Bytes values(2 * quantity);
        EXPECT_EQ(master.ReadRegisters(kSlave, 3, address, quantity, values), 0);
        return values;
    }
    Bytes ReadCoils(uint16_t address, uint16_t quantity) {
        Bytes bits(quantity);
        EXPECT_EQ(master.ReadBits(kSlave, 1, address, quantity, bits), 0);
        return bits;
    }

    std::unique_ptr<PeerProcess> peer;
    ModbusMaster master;
};

TEST_P(Interop, ReadCoilsAndDiscreteInputs) {
    EXPECT_EQ(ReadCoils(0, 10), (Bytes{1, 0, 0, 1, 0, 0, 1, 0, 0, 1}));
    Bytes inputs(5);
    EXPECT_EQ(master.ReadBits(kSlave, 2, 1, 5, inputs), 0);
    EXPECT_EQ(inputs, (Bytes{1, 0, 1, 0, 1}));
}

TEST_P(Interop, ReadHoldingAndInputRegisters) {
    EXPECT_EQ(ReadHolding(10, 3), Registers({0x100A, 0x100B, 0x100C}));
    Bytes inputs(4);
    EXPECT_EQ(master.ReadRegisters(kSlave, 4, 5, 2, inputs), 0);
    EXPECT_EQ(inputs, Registers({0x2005, 0x2006}));
    EXPECT_EQ(ReadHolding(0, 125).size(), 250U);
}

TEST_P(Interop, WriteSingleCoilAndRegister) {
    EXPECT_EQ(master.WriteSingleCoil(kSlave, 1, 0xFF), 0);
    EXPECT_EQ(master.WriteSingleCoil(kSlave, 3, 0x00), 0);
    EXPECT_EQ(ReadCoils(0, 4), (Bytes{1, 1, 0, 0}));
    EXPECT_EQ(master.WriteSingleRegister(kSlave, 20, 0xBEEF), 0);
    EXPECT_EQ(ReadHolding(20, 1), Registers({0xBEEF}));
}

TEST_P(Interop, WriteMultipleCoilsAndRegisters) {
    const Bytes coils{0, 1, 1, 0, 1, 1, 1, 0, 0, 1};
    EXPECT_EQ(master.WriteMultipleCoils(kSlave, 30, 10, coils), 0);
    EXPECT_EQ(ReadCoils(30, 10), coils);
    const Bytes values = Registers({0x0001, 0x8000, 0xFFFF});
    EXPECT_EQ(master.WriteMultipleRegisters(kSlave, 40, 3, values), 0);
    EXPECT_EQ(ReadHolding(40, 3), values);
}

TEST_P(Interop, ReadWriteMultipleRegisters) {
    Bytes buffer = Registers({0x1234, 0x5678, 0, 0});
    EXPECT_EQ(master.ReadWriteRegisters(kSlave, 49, 4, 50, 2, buffer), 0);
    EXPECT_EQ(buffer, Registers({0x1031, 0x1234, 0x5678, 0x1034}));
}

TEST_P(Interop, DeviceExceptionIsReported) {
    Bytes values(10);
    EXPECT_EQ(master.ReadRegisters(kSlave, 3, 298, 5, values), 2) << "illegal data address";
    EXPECT_EQ(ReadHolding(0, 1), Registers({0x1000})) << "the next transaction is clean";
}

TEST_P(Interop, AbsentSlaveGivesNoReply) {
    Bytes values(2);
    EXPECT_EQ(master.ReadRegisters(kAbsentSlave, 3, 0, 1, values), Code(ResultCode::NoReply));
    EXPECT_EQ(ReadHolding(1, 1), Registers({0x1001}));
}

// Modbus/TCP has no broadcast: serial lines only.
class SerialInterop : public Interop {};

TEST_P(SerialInterop, BroadcastWriteReachesTheSlave) {
    // A master leaves the slaves a turnaround delay after a broadcast before its next request.
    const auto turnaround = [] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); };
    EXPECT_EQ(master.WriteSingleRegister(0, 60, 0x0F0F), 0);
    turnaround();
    EXPECT_EQ(master.WriteMultipleCoils(0, 70, 3, Bytes{1, 1, 1}), 0);
    turnaround();
    EXPECT_EQ(ReadHolding(60, 1), Registers({0x0F0F}));
    EXPECT_EQ(ReadCoils(70, 3), (Bytes{1, 1, 1}));
}

INSTANTIATE_TEST_SUITE_P(Peers, Interop, ::testing::Values("rtu", "ascii", "tcp"),
                         [](const auto& info) { return info.param; });
INSTANTIATE_TEST_SUITE_P(Peers, SerialInterop, ::testing::Values("rtu", "ascii"),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace tolvex

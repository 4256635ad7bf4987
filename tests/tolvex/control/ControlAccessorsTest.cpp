#include "CTolvexCtrl.h"
#include "HostLoop.h"
#include "ModbusTcpServer.h"
#include "TcpControl.h"

#include <gtest/gtest.h>
#include <memory>

namespace tolvex {
namespace {

using test::HostLoop;
using test::ModbusTcpServer;

class ControlAccessors : public ::testing::Test {
protected:
    void SetUp() override {
        test::UseLoopbackServer(*control, server.Port());
        ASSERT_TRUE(control->OpenConnection()) << control->GetLastError();
    }

    void ReadRegisters(short handle, uint16_t address, std::initializer_list<uint16_t> values,
                       short quantity = 0) {
        uint16_t at = address;
        for (uint16_t value : values) {
            server.SetHoldingRegister(at++, value);
        }
        const auto count = quantity != 0 ? quantity : static_cast<short>(values.size());
        ASSERT_TRUE(control->ReadHoldingRegisters(handle, 1, address, count, 100));
        ASSERT_TRUE(host.RunOnce(handle));
        ASSERT_EQ(control->GetResult(handle), 0);
    }

    ModbusTcpServer server;
    std::unique_ptr<CTolvexCtrl> control = std::make_unique<CTolvexCtrl>();
    HostLoop host{*control};
};

TEST_F(ControlAccessors, FloatWordOrders) {
    ReadRegisters(1, 0, {0x4120, 0x0000});
    EXPECT_EQ(control->FloatSwap(1, 0), 10.0f);
    EXPECT_EQ(control->GetLastError(), 0);
    EXPECT_EQ(control->Float(1, 0), std::bit_cast<float>(uint32_t{0x00004120}));
    EXPECT_EQ(control->Register(1, 0), 16672);
    EXPECT_EQ(control->GetLastError(), 0);
}

TEST_F(ControlAccessors, LongAndDoubleWordOrders) {
    ReadRegisters(2, 10, {0x1122, 0x3344, 0x5566, 0x7788});
    EXPECT_EQ(control->Long(2, 0), 0x33441122);
    EXPECT_EQ(control->LongSwap(2, 0), 0x11223344);
    EXPECT_EQ(control->Long(2, 1), 0x77885566);
    EXPECT_EQ(std::bit_cast<uint64_t>(control->Double(2, 0)), 0x7788556633441122u);
    EXPECT_EQ(std::bit_cast<uint64_t>(control->DoubleSwap(2, 0)), 0x1122334455667788u);
}

TEST_F(ControlAccessors, SignedRegistersAndCoilBytes) {
    ReadRegisters(3, 20, {0xFFFF, 0x8000});
    EXPECT_EQ(control->Register(3, 0), -1);
    EXPECT_EQ(control->Register(3, 1), -32768);
    EXPECT_EQ(control->Long(3, 0), static_cast<int32_t>(0x8000FFFF));
}

TEST_F(ControlAccessors, ReadValuesSurviveALaterFailure) {
    ReadRegisters(4, 30, {1234});
    ASSERT_TRUE(control->ReadHoldingRegisters(4, 1, 1999, 2, 100));
    ASSERT_TRUE(host.RunOnce(4));
    EXPECT_EQ(control->Register(4, 0), 1234);
    EXPECT_EQ(control->GetLastError(), 2);
}

TEST_F(ControlAccessors, SwapWritesPutTheHighWordFirstOnTheWire) {
    control->SetLongSwap(5, 0, 0x0A0B0C0D);
    control->SetFloat(5, 1, 10.0f);
    control->SetDoubleSwap(5, 1, 1.0);
    ASSERT_TRUE(control->PresetMultipleRegisters(5, 1, 100, 8, 100));
    ASSERT_TRUE(host.RunOnce(5));
    EXPECT_EQ(server.HoldingRegister(100), 0x0A0B);
    EXPECT_EQ(server.HoldingRegister(101), 0x0C0D);
    EXPECT_EQ(server.HoldingRegister(102), 0x0000);
    EXPECT_EQ(server.HoldingRegister(103), 0x4120);
    EXPECT_EQ(server.HoldingRegister(104), 0x3FF0);
    EXPECT_EQ(server.HoldingRegister(107), 0x0000);
    // After a successful write the data area holds what was written.
    EXPECT_EQ(control->LongSwap(5, 0), 0x0A0B0C0D);
    EXPECT_EQ(control->DoubleSwap(5, 1), 1.0);
}

TEST_F(ControlAccessors, SingleWritesTakeElementZero) {
    control->SetRegister(6, 0, -2);
    ASSERT_TRUE(control->PresetSingleRegister(6, 1, 40, 100));
    ASSERT_TRUE(host.RunOnce(6));
    EXPECT_EQ(server.HoldingRegister(40), 0xFFFE);

    control->SetCoil(7, 0, -1);
    EXPECT_EQ(control->GetLastError(), 1);
    ASSERT_TRUE(control->ForceSingleCoil(7, 1, 41, 100));
    ASSERT_TRUE(host.RunOnce(7));
    EXPECT_EQ(server.CoilAt(41), 1);
    EXPECT_EQ(control->Coil(7, 0), 255);
}

TEST_F(ControlAccessors, CoilsReadOneBytePerCoil) {
    control->SetCoil(8, 0, 1);
    control->SetCoil(8, 1, 0);
    control->SetCoil(8, 2, 7);
    ASSERT_TRUE(control->ForceMultipleCoils(8, 1, 50, 3, 100));
    ASSERT_TRUE(host.RunOnce(8));
    ASSERT_TRUE(control->ReadCoilStatus(9, 1, 50, 3, 100));
    ASSERT_TRUE(host.RunOnce(9));
    EXPECT_EQ(control->Coil(9, 0), 1);
    EXPECT_EQ(control->Coil(9, 1), 0);
    EXPECT_EQ(control->Coil(9, 2), 1);
}

TEST_F(ControlAccessors, WritingACyclicHandleChangesTheNextServe) {
    control->SetRegister(10, 0, 1);
    ASSERT_TRUE(control->PresetSingleRegister(10, 1, 60, 50));
    ASSERT_TRUE(control->UpdateEnable(10));
    ASSERT_TRUE(host.RunUntil(1));
    EXPECT_EQ(server.HoldingRegister(60), 1);
    control->SetRegister(10, 0, 2);
    // Until the next serve, reads show what the last one sent.
    EXPECT_EQ(control->Register(10, 0), 1);
    ASSERT_TRUE(host.RunUntil(host.events.size() + 2));
    EXPECT_EQ(server.HoldingRegister(60), 2);
    EXPECT_EQ(control->Register(10, 0), 2);
}

TEST_F(ControlAccessors, ReadWriteRegistersWritesThenReads) {
    control->SetRegister(11, 0, 0x0777);
    server.SetHoldingRegister(71, 0x0171);
    ASSERT_TRUE(control->ReadWriteMultipleRegisters(11, 1, 70, 2, 70, 1, 100));
    ASSERT_TRUE(host.RunOnce(11));
    EXPECT_EQ(control->Register(11, 0), 0x0777);
    EXPECT_EQ(control->Register(11, 1), 0x0171);
}

} // namespace
} // namespace tolvex

#include "CTolvexCtrl.h"
#include "tolvex/ResultCode.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace tolvex {
namespace {

class ControlProperties : public ::testing::Test {
protected:
    std::unique_ptr<CTolvexCtrl> control = std::make_unique<CTolvexCtrl>();
};

TEST_F(ControlProperties, NewInstanceHasTheDefaults) {
    EXPECT_EQ(control->Connection(), 1);
    EXPECT_EQ(control->BaudRate(), 5);
    EXPECT_EQ(control->DataBits(), 1);
    EXPECT_EQ(control->Parity(), 0);
    EXPECT_EQ(control->StopBits(), 0);
    EXPECT_EQ(control->Timeout(), 1000);
    EXPECT_EQ(control->ProtocolMode(), 0);
    EXPECT_EQ(control->TCPIPPort(), 502);
    EXPECT_EQ(control->RTSControl(), 0);
    for (int part = 1; part <= 4; ++part) {
        EXPECT_EQ(control->IPAddr(part), 0);
    }
    EXPECT_FALSE(control->IsConnected());
    EXPECT_EQ(control->GetLastError(), 0);
    EXPECT_EQ(control->StatusText(), "Port 1, 9600 baud, Closed");
}

struct RangeCase {
    const char* name;
    std::function<void(CTolvexCtrl&, short)> set;
    std::function<short(const CTolvexCtrl&)> get;
    short low;
    short high;
    ResultCode refusal;
};

TEST_F(ControlProperties, EachPropertyRefusesValuesOutsideItsRange) {
    const RangeCase cases[] = {
        {"StopBits", &CTolvexCtrl::SetStopBits, &CTolvexCtrl::StopBits, 0, 1,
         ResultCode::StopBitsOutOfRange},
        {"BaudRate", &CTolvexCtrl::SetBaudRate, &CTolvexCtrl::BaudRate, 0, 11,
         ResultCode::BaudRateOutOfRange},
        {"Parity", &CTolvexCtrl::SetParity, &CTolvexCtrl::Parity, 0, 2,
         ResultCode::ParityOutOfRange},
        {"Timeout", &CTolvexCtrl::SetTimeout, &CTolvexCtrl::Timeout, 300, 10000,
         ResultCode::TimeoutOutOfRange},
        {"ProtocolMode", &CTolvexCtrl::SetProtocolMode, &CTolvexCtrl::ProtocolMode, 0, 1,
         ResultCode::ProtocolModeOutOfRange},
        {"DataBits", &CTolvexCtrl::SetDataBits, &CTolvexCtrl::DataBits, 0, 1,
         ResultCode::DataBitsOutOfRange},
        {"Connection", &CTolvexCtrl::SetConnection, &CTolvexCtrl::Connection, 0, 32,
         ResultCode::ConnectionOutOfRange},
        {"IPAddr3", [](CTolvexCtrl& c, short v) { c.SetIPAddr(3, v); },
         [](const CTolvexCtrl& c) { return c.IPAddr(3); }, 0, 255, ResultCode::IpAddrOutOfRange},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.set(*control, c.low);
        EXPECT_EQ(control->GetLastError(), 0);
        c.set(*control, c.high);
        EXPECT_EQ(control->GetLastError(), 0);
        EXPECT_EQ(c.get(*control), c.high);
        for (short refused : {static_cast<short>(c.low - 1), static_cast<short>(c.high + 1)}) {
            c.set(*control, refused);
            EXPECT_EQ(control->GetLastError(), Code(c.refusal));
            EXPECT_EQ(c.get(*control), c.high);
        }
    }
}

TEST_F(ControlProperties, TimeoutBoundary) {
    control->SetTimeout(299);
    EXPECT_EQ(control->Timeout(), 1000);
    EXPECT_EQ(control->GetLastError(), 40);
    control->SetTimeout(300);
    EXPECT_EQ(control->Timeout(), 300);
    EXPECT_EQ(control->GetLastError(), 0);
}

TEST_F(ControlProperties, ConnectionZeroSelectsTcp) {
    control->SetConnection(33);
    EXPECT_EQ(control->GetLastError(), 41);
    control->SetConnection(0);
    EXPECT_EQ(control->StatusText(), "TCP/IP Connection = Closed");
    control->SetConnection(12);
    control->SetBaudRate(11);
    EXPECT_EQ(control->StatusText(), "Port 12, 115200 baud, Closed");
}

TEST_F(ControlProperties, PortAndRtsLeaveTheLastErrorAlone) {
    control->SetTimeout(1);
    control->SetTCPIPPort(-2);
    EXPECT_EQ(control->TCPIPPort(), -2);
    control->SetTCPIPPort(65535);
    EXPECT_EQ(control->TCPIPPort(), -2);
    control->SetTCPIPPort(65534);
    EXPECT_EQ(control->TCPIPPort(), 65534);
    control->SetRTSControl(2);
    EXPECT_EQ(control->RTSControl(), 2);
    control->SetRTSControl(3);
    control->SetRTSControl(-1);
    EXPECT_EQ(control->RTSControl(), 2);
    EXPECT_EQ(control->GetLastError(), 40);
}

TEST_F(ControlProperties, SavedPropertiesReloadIntoANewInstance) {
    control->SetConnection(7);
    control->SetBaudRate(11);
    control->SetDataBits(0);
    control->SetParity(2);
    control->SetStopBits(1);
    control->SetTimeout(2500);
    control->SetProtocolMode(1);
    for (short part = 1; part <= 4; ++part) {
        control->SetIPAddr(part, static_cast<short>(part * 60));
    }
    control->SetTCPIPPort(1502);
    control->SetRTSControl(1);

    auto reloaded = std::make_unique<CTolvexCtrl>();
    std::string error;
    ASSERT_TRUE(reloaded->LoadProperties(control->SaveProperties(), error)) << error;
    EXPECT_EQ(reloaded->SaveProperties(), control->SaveProperties());
    EXPECT_EQ(reloaded->Connection(), 7);
    EXPECT_EQ(reloaded->Timeout(), 2500);
    EXPECT_EQ(reloaded->IPAddr(4), 240);
    EXPECT_EQ(reloaded->TCPIPPort(), 502);
    EXPECT_EQ(reloaded->RTSControl(), 0);
}

TEST_F(ControlProperties, LoadedValuesAreTakenAsTheyAreButNeverIndexOutside) {
    std::string error;
    ASSERT_TRUE(control->LoadProperties("BaudRate=99\nTimeout=5\nUnknown=1\n\n", error));
    EXPECT_EQ(control->BaudRate(), 99);
    EXPECT_EQ(control->Timeout(), 5);
    // Missing names take their defaults.
    EXPECT_EQ(control->Connection(), 1);
    EXPECT_EQ(control->StatusText(), "Port 1, baud rate 99 (not valid), Closed");
    EXPECT_FALSE(control->OpenConnection());
    EXPECT_EQ(control->GetLastError(), Code(ResultCode::PortOpenFailed));
}

TEST_F(ControlProperties, EveryPropertyWriteMarksTheControlModifiedUntilSaved) {
    EXPECT_FALSE(control->IsModified());
    const std::pair<const char*, std::function<void(CTolvexCtrl&)>> writes[] = {
        {"accepted", [](CTolvexCtrl& c) { c.SetParity(2); }},
        {"refused", [](CTolvexCtrl& c) { c.SetTimeout(1); }},
        {"same value", [](CTolvexCtrl& c) { c.SetConnection(c.Connection()); }},
        {"not persisted", [](CTolvexCtrl& c) { c.SetTCPIPPort(1502); }},
        {"ignored", [](CTolvexCtrl& c) { c.SetRTSControl(7); }},
    };
    for (const auto& [name, write] : writes) {
        SCOPED_TRACE(name);
        control->MarkSaved();
        EXPECT_FALSE(control->IsModified());
        write(*control);
        EXPECT_TRUE(control->IsModified());
    }
}

TEST_F(ControlProperties, LoadingClearsModifiedButAFailedLoadDoesNot) {
    std::string error;
    control->SetParity(1);
    EXPECT_FALSE(control->LoadProperties("Parity\n", error));
    EXPECT_TRUE(control->IsModified());
    EXPECT_TRUE(control->LoadProperties("Parity=2\n", error));
    EXPECT_FALSE(control->IsModified());
}

TEST_F(ControlProperties, MalformedTextIsRefusedAndChangesNothing) {
    control->SetTimeout(700);
    const std::string before = control->SaveProperties();
    for (const char* text : {"Timeout=abc\n", "Timeout=70000\n", "Timeout\n", "Parity=1x\n"}) {
        std::string error;
        EXPECT_FALSE(control->LoadProperties(text, error)) << text;
        EXPECT_NE(error.find("line 1"), std::string::npos) << error;
        EXPECT_EQ(control->SaveProperties(), before);
    }
}

TEST_F(ControlProperties, RequestMethodsCheckAddressesOnly) {
    control->SetTimeout(1);
    EXPECT_FALSE(control->ReadHoldingRegisters(1, 1, 65536, 1, 1000));
    EXPECT_FALSE(control->ReadHoldingRegisters(1, 1, -1, 1, 1000));
    EXPECT_FALSE(control->ReadWriteMultipleRegisters(1, 1, 0, 1, 70000, 1, 1000));
    EXPECT_EQ(control->GetLastError(), 40);
    EXPECT_TRUE(control->ReadHoldingRegisters(1, 1, 65535, 1, 1000));
    // Negative quantities and slaves arrive unsigned and break the limits.
    EXPECT_FALSE(control->ReadHoldingRegisters(1, 1, 0, -1, 1000));
    EXPECT_FALSE(control->ReadHoldingRegisters(1, -1, 0, 1, 1000));
    EXPECT_FALSE(control->ReadHoldingRegisters(-1, 1, 0, 1, 1000));
    EXPECT_FALSE(control->ReadHoldingRegisters(1, 1, 0, 1, -1));
    EXPECT_EQ(control->GetResult(1), Code(ResultCode::Pending));
    EXPECT_EQ(control->GetResult(100), Code(ResultCode::HandleOutOfRange));
}

TEST_F(ControlProperties, UpdateMethodsHandleLimits) {
    ASSERT_TRUE(control->ReadHoldingRegisters(0, 1, 0, 1, 0));
    EXPECT_FALSE(control->UpdateEnable(0));
    EXPECT_FALSE(control->UpdateDisable(0));
    EXPECT_FALSE(control->UpdateOnce(-1));
    EXPECT_TRUE(control->UpdateOnce(0));
    EXPECT_TRUE(control->IsBusy(0));
    EXPECT_FALSE(control->UpdateEnable(2));
    ASSERT_TRUE(control->PresetSingleRegister(2, 0, 10, 100));
    EXPECT_TRUE(control->UpdateEnable(2));
    EXPECT_TRUE(control->UpdateDisable(2));
}

TEST_F(ControlProperties, AccessorLastErrorRules) {
    control->SetRegister(3, 0, 100);
    EXPECT_EQ(control->GetLastError(), 1);
    // A read reports the handle's result code; before any definition there is none.
    EXPECT_EQ(control->Register(3, 0), 0);
    EXPECT_EQ(control->GetLastError(), 0);
    ASSERT_TRUE(control->ReadHoldingRegisters(3, 1, 0, 1, 1000));
    control->Register(3, 0);
    EXPECT_EQ(control->GetLastError(), Code(ResultCode::Pending));

    control->Register(100, 0);
    EXPECT_EQ(control->GetLastError(), 20);
    control->Register(-1, 0);
    EXPECT_EQ(control->GetLastError(), 20);
    control->SetFloat(100, 0, 1.0f);
    EXPECT_EQ(control->GetLastError(), 20);
    control->Register(1, -1);
    EXPECT_EQ(control->GetLastError(), 22);
}

TEST_F(ControlProperties, AccessorIndexLimitsFollowTheElementSize) {
    struct Limit {
        const char* name;
        std::function<void(CTolvexCtrl&, short)> read;
        short count;
    };
    const Limit limits[] = {
        {"Register", [](CTolvexCtrl& c, short i) { c.Register(1, i); }, 125},
        {"Coil", [](CTolvexCtrl& c, short i) { c.Coil(1, i); }, 1968},
        {"Long", [](CTolvexCtrl& c, short i) { c.Long(1, i); }, 62},
        {"LongSwap", [](CTolvexCtrl& c, short i) { c.LongSwap(1, i); }, 62},
        {"Float", [](CTolvexCtrl& c, short i) { c.Float(1, i); }, 62},
        {"FloatSwap", [](CTolvexCtrl& c, short i) { c.FloatSwap(1, i); }, 62},
        {"Double", [](CTolvexCtrl& c, short i) { c.Double(1, i); }, 31},
        {"DoubleSwap", [](CTolvexCtrl& c, short i) { c.DoubleSwap(1, i); }, 31},
    };
    for (const Limit& limit : limits) {
        SCOPED_TRACE(limit.name);
        limit.read(*control, static_cast<short>(limit.count - 1));
        EXPECT_EQ(control->GetLastError(), 0);
        limit.read(*control, limit.count);
        EXPECT_EQ(control->GetLastError(), 22);
    }
    control->SetDoubleSwap(1, 31, 1.0);
    EXPECT_EQ(control->GetLastError(), 22);
    control->SetDoubleSwap(1, 30, 1.0);
    EXPECT_EQ(control->GetLastError(), 1);
}

TEST_F(ControlProperties, AccessorWritesDoNotChangeWhatReadsReturn) {
    control->SetLong(4, 0, 0x12345678);
    EXPECT_EQ(control->Long(4, 0), 0);
}

} // namespace
} // namespace tolvex

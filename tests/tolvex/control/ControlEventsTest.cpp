#include "CTolvexCtrl.h"
#include "HostLoop.h"
#include "ModbusTcpServer.h"
#include "TcpControl.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tolvex {
namespace {

using test::HostLoop;
using test::ModbusTcpServer;

class ControlEvents : public ::testing::Test {
protected:
    void SetUp() override {
        test::UseLoopbackServer(*control, server.Port());
        ASSERT_TRUE(control->OpenConnection()) << control->GetLastError();
    }

    ModbusTcpServer server;
    std::unique_ptr<CTolvexCtrl> control = std::make_unique<CTolvexCtrl>();
    HostLoop host{*control};
};

TEST_F(ControlEvents, OkAndErrorEventsCarryHandleAndCode) {
    ASSERT_TRUE(control->ReadHoldingRegisters(0, 1, 0, 1, 50));
    ASSERT_TRUE(host.RunOnce(0));
    ASSERT_TRUE(control->ReadHoldingRegisters(12, 1, 1999, 2, 50));
    ASSERT_TRUE(host.RunOnce(12));
    ASSERT_EQ(host.events.size(), 2u);
    EXPECT_EQ(host.events[0].handle, 0);
    EXPECT_EQ(host.events[0].error, 0);
    EXPECT_EQ(host.events[1].handle, 12);
    EXPECT_EQ(host.events[1].error, 2);
}

TEST_F(ControlEvents, NoneLostOutOfOrderOrOffTheHostThreadUnderFullLoad) {
    // Every handle that can repeat reads its own address at the fastest rate.
    for (short handle = 1; handle < 100; ++handle) {
        ASSERT_TRUE(control->ReadHoldingRegisters(handle, 1, handle, 10, 50));
        ASSERT_TRUE(control->UpdateEnable(handle));
    }
    ASSERT_TRUE(host.RunUntil(400));
    for (short handle = 1; handle < 100; ++handle) {
        ASSERT_TRUE(control->UpdateDisable(handle));
    }
    // Once no handle is busy the worker has finished its last transaction and posted it.
    ASSERT_TRUE(host.RunWhile([&] {
        for (short handle = 1; handle < 100; ++handle) {
            if (control->IsBusy(handle)) {
                return true;
            }
        }
        return false;
    }));
    control->CloseConnection();
    control->DispatchEvents();

    const std::vector<uint16_t> served = server.RequestAddresses();
    ASSERT_EQ(host.events.size(), served.size());
    const std::thread::id hostThread = std::this_thread::get_id();
    for (size_t i = 0; i < served.size(); ++i) {
        EXPECT_EQ(host.events[i].handle, served[i]) << i;
        EXPECT_EQ(host.events[i].error, 0) << i;
        EXPECT_EQ(host.events[i].thread, hostThread) << i;
    }
}

TEST_F(ControlEvents, DescriptorIsReadableOnlyWhileNoticesWait) {
    pollfd entry{control->EventDescriptor(), POLLIN, 0};
    EXPECT_EQ(poll(&entry, 1, 0), 0);
    ASSERT_TRUE(control->ReadHoldingRegisters(0, 1, 0, 1, 0));
    ASSERT_TRUE(control->UpdateOnce(0));
    EXPECT_EQ(poll(&entry, 1, 10000), 1);
    EXPECT_EQ(control->DispatchEvents(), 1);
    EXPECT_EQ(poll(&entry, 1, 0), 0);
    EXPECT_EQ(control->DispatchEvents(), 0);
}

TEST_F(ControlEvents, AHandlerMayReplaceTheHandlersWhileItRuns) {
    // The capture is too large to live inside the handler object: a handler destroyed while it
    // runs would read freed memory here.
    std::vector<std::string> seen;
    const std::string marker(64, 'x');
    control->SetEventHandlers({[&, marker](short) {
                                   control->SetEventHandlers({});
                                   seen.push_back(marker);
                               },
                               nullptr});
    ASSERT_TRUE(control->ReadHoldingRegisters(0, 1, 0, 1, 0));
    ASSERT_TRUE(control->UpdateOnce(0));
    pollfd entry{control->EventDescriptor(), POLLIN, 0};
    ASSERT_EQ(poll(&entry, 1, 10000), 1);
    EXPECT_EQ(control->DispatchEvents(), 1);
    EXPECT_EQ(seen, std::vector<std::string>{marker});
}

TEST_F(ControlEvents, ResultsAndRequestsSurviveCloseAndOpen) {
    server.SetHoldingRegister(80, 8080);
    ASSERT_TRUE(control->ReadHoldingRegisters(13, 1, 80, 1, 50));
    ASSERT_TRUE(control->UpdateEnable(13));
    ASSERT_TRUE(host.RunUntil(1));
    control->CloseConnection();
    EXPECT_FALSE(control->IsConnected());
    EXPECT_EQ(control->StatusText(), "TCP/IP Connection = Closed");
    EXPECT_EQ(control->GetResult(13), 0);
    EXPECT_EQ(control->Register(13, 0), 8080);

    server.SetHoldingRegister(80, 9090);
    ASSERT_TRUE(control->OpenConnection());
    EXPECT_EQ(control->StatusText(), "TCP/IP Connection = Open");
    // The cyclic request resumes on the new connection.
    ASSERT_TRUE(host.RunUntil(host.events.size() + 2));
    EXPECT_EQ(control->Register(13, 0), static_cast<short>(9090));
}

TEST_F(ControlEvents, DesignModeDropsEveryRequest) {
    ASSERT_TRUE(control->ReadHoldingRegisters(14, 1, 0, 1, 50));
    control->EnterDesignMode();
    EXPECT_FALSE(control->IsConnected());
    EXPECT_FALSE(control->UpdateEnable(14));
}

} // namespace
} // namespace tolvex

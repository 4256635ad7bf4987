#include "RequestEngine.h"

#include "ModbusTcpServer.h"
#include "NoticeRecorder.h"
#include "tolvex/ResultCode.h"

#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace tolvex {
namespace {

using namespace std::chrono_literals;
using test::ModbusTcpServer;
using test::NoticeRecorder;

constexpr uint32_t kSlowRate = 600000;

RequestDefinition ReadHolding(uint16_t address, uint16_t quantity = 1) {
    return RequestDefinition{1, 3, address, quantity, 0, 0};
}

// Polls a condition that the worker makes true sooner or later; bounded so a fault fails the test
// instead of hanging it.
template <class Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 1000; ++i) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

class RequestEngineOverTcp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(engine->Master().Tcp().Connect("127.0.0.1", server.Port(), 1000), 0);
        engine->Master().SetTransportMode(TransportMode::Tcp);
    }
    void TearDown() override {
        engine->Stop();
        engine->Master().Tcp().Disconnect();
    }

    void Define(uint16_t handle, uint32_t rate, const RequestDefinition& request) {
        ASSERT_TRUE(engine->DefineRequest(&notices, handle, rate, request));
    }

    void RunOnce(uint16_t handle) {
        const size_t before = notices.Notices().size();
        ASSERT_TRUE(engine->SetUpdateMode(handle, UpdateMode::Once));
        ASSERT_TRUE(notices.WaitFor(before + 1));
    }

    uint16_t DataRegister(int handle, size_t index, uint16_t* result = nullptr) {
        uint8_t bytes[2];
        const uint16_t code = engine->ReadData(handle, 2 * index, bytes);
        if (result != nullptr) {
            *result = code;
        }
        uint16_t value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

    std::vector<uint16_t> NoticeHandles() {
        std::vector<uint16_t> handles;
        for (const auto& notice : notices.Notices()) {
            handles.push_back(notice.handle);
        }
        return handles;
    }

    ModbusTcpServer server;
    NoticeRecorder notices;
    std::unique_ptr<RequestEngine> engine = std::make_unique<RequestEngine>();
};

TEST_F(RequestEngineOverTcp, DueHandlesAreServedRoundRobinAfterTheLastServed) {
    for (uint16_t handle : {3, 1, 2}) {
        Define(handle, kSlowRate, ReadHolding(handle));
        ASSERT_TRUE(engine->SetUpdateMode(handle, UpdateMode::Cyclic));
    }
    ASSERT_TRUE(engine->Start());
    ASSERT_TRUE(notices.WaitFor(3));
    EXPECT_EQ(server.RequestAddresses(), (std::vector<uint16_t>{1, 2, 3}));

    // Keep the worker on handle 5 while 3 and then 2 become due again.
    Define(5, kSlowRate, ReadHolding(5));
    server.HoldAt(5);
    ASSERT_TRUE(engine->SetUpdateMode(5, UpdateMode::Once));
    ASSERT_TRUE(server.WaitUntilHeld());
    ASSERT_TRUE(engine->SetUpdateMode(3, UpdateMode::Cyclic));
    ASSERT_TRUE(engine->SetUpdateMode(2, UpdateMode::Cyclic));
    server.Release();
    ASSERT_TRUE(notices.WaitFor(6));
    EXPECT_EQ(server.RequestAddresses(), (std::vector<uint16_t>{1, 2, 3, 5, 2, 3}));
    EXPECT_EQ(NoticeHandles(), (std::vector<uint16_t>{1, 2, 3, 5, 2, 3}));
}

TEST_F(RequestEngineOverTcp, ImmediateHandleGoesFirstAndRunsOnlyOnce) {
    Define(1, 50, ReadHolding(1));
    ASSERT_TRUE(engine->SetUpdateMode(1, UpdateMode::Cyclic));
    Define(0, 0, ReadHolding(100));
    ASSERT_TRUE(engine->SetUpdateMode(0, UpdateMode::Once));
    ASSERT_TRUE(engine->Start());
    ASSERT_TRUE(notices.WaitFor(2));
    EXPECT_EQ(server.RequestAddresses().front(), 100);
    EXPECT_EQ(notices.Notices().front().handle, 0);
    EXPECT_EQ(engine->GetResult(0), 0);
    // Served once, then undefined: it must be defined again before the next use.
    EXPECT_FALSE(engine->SetUpdateMode(0, UpdateMode::Once));
    Define(0, 0, ReadHolding(101));
    EXPECT_TRUE(engine->SetUpdateMode(0, UpdateMode::Once));
}

TEST_F(RequestEngineOverTcp, UpdateOnceIsBusyUntilItsCompletionAndDoesNotRepeat) {
    server.SetHoldingRegister(7, 0x0707);
    Define(7, 50, ReadHolding(7));
    ASSERT_TRUE(engine->Start());
    // The server holds the reply, so the request is seen in flight however fast the worker is.
    server.HoldAt(7);
    ASSERT_TRUE(engine->SetUpdateMode(7, UpdateMode::Once));
    EXPECT_TRUE(engine->IsBusy(7));
    ASSERT_TRUE(server.WaitUntilHeld());
    EXPECT_TRUE(engine->IsBusy(7));
    server.Release();
    ASSERT_TRUE(notices.WaitFor(1));
    EXPECT_FALSE(engine->IsBusy(7));
    EXPECT_EQ(engine->GetResult(7), 0);
    EXPECT_EQ(DataRegister(7, 0), 0x0707);
    // Many passes later it still ran only once.
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(RequestEngineOverTcp, RedefinitionDuringATransactionDropsItsOutcome) {
    server.SetHoldingRegister(5, 111);
    server.SetHoldingRegister(6, 666);
    Define(5, 100, ReadHolding(5));
    ASSERT_TRUE(engine->Start());
    RunOnce(5);
    ASSERT_EQ(DataRegister(5, 0), 111);

    server.SetHoldingRegister(5, 222);
    server.HoldAt(5);
    ASSERT_TRUE(engine->SetUpdateMode(5, UpdateMode::Once));
    ASSERT_TRUE(server.WaitUntilHeld());
    Define(5, 100, ReadHolding(6));
    server.Release();

    // The worker serves one request at a time, so this one completes after the held one.
    Define(9, 100, ReadHolding(9));
    RunOnce(9);
    EXPECT_EQ(NoticeHandles(), (std::vector<uint16_t>{5, 9}));
    uint16_t result = 0;
    EXPECT_EQ(DataRegister(5, 0, &result), 111);
    EXPECT_EQ(result, Code(ResultCode::Pending));
    // Left disabled, the search clears its busy flag when it passes the slot.
    EXPECT_TRUE(Eventually([&] { return !engine->IsBusy(5); }));

    RunOnce(5);
    EXPECT_EQ(DataRegister(5, 0, &result), 666);
    EXPECT_EQ(result, 0);
}

TEST_F(RequestEngineOverTcp, FailureKeepsTheLastGoodData) {
    server.SetHoldingRegister(10, 0x1234);
    server.SetHoldingRegister(11, 0x5678);
    Define(2, 100, ReadHolding(10, 2));
    ASSERT_TRUE(engine->Start());
    RunOnce(2);
    Define(2, 100, ReadHolding(1999, 2));
    RunOnce(2);
    EXPECT_EQ(notices.Notices().back().code, 2); // the device's illegal data address
    uint16_t result = 0;
    EXPECT_EQ(DataRegister(2, 0, &result), 0x1234);
    EXPECT_EQ(DataRegister(2, 1), 0x5678);
    EXPECT_EQ(result, 2);
}

TEST_F(RequestEngineOverTcp, ReadDataHoldsTheRestOfTheWriteBuffer) {
    const uint16_t written[] = {0xAAAA, 0xBBBB, 0xCCCC};
    engine->WriteBuffer(3, 0, std::span(reinterpret_cast<const uint8_t*>(written), sizeof written));
    server.SetHoldingRegister(0, 0x0101);
    Define(3, 100, ReadHolding(0));
    ASSERT_TRUE(engine->Start());
    RunOnce(3);
    EXPECT_EQ(DataRegister(3, 0), 0x0101);
    EXPECT_EQ(DataRegister(3, 1), 0xBBBB);
    EXPECT_EQ(DataRegister(3, 2), 0xCCCC);
}

TEST_F(RequestEngineOverTcp, WriteBufferIsSentAtTheNextServe) {
    const uint16_t value = 0x0102;
    engine->WriteBuffer(4, 0, std::span(reinterpret_cast<const uint8_t*>(&value), 2));
    ASSERT_TRUE(engine->DefineRequest(&notices, 4, 100, RequestDefinition{1, 6, 0, 0, 20, 1}));
    ASSERT_TRUE(engine->Start());
    RunOnce(4);
    EXPECT_EQ(server.HoldingRegister(20), 0x0102);
    EXPECT_EQ(DataRegister(4, 0), 0x0102);
}

TEST_F(RequestEngineOverTcp, ResultsAndCyclicRequestsSurviveAStop) {
    server.SetHoldingRegister(30, 3030);
    Define(6, 50, ReadHolding(30));
    ASSERT_TRUE(engine->SetUpdateMode(6, UpdateMode::Cyclic));
    ASSERT_TRUE(engine->Start());
    ASSERT_TRUE(notices.WaitFor(2));
    engine->Stop();
    const size_t served = server.RequestCount();
    EXPECT_EQ(engine->GetResult(6), 0);
    EXPECT_EQ(DataRegister(6, 0), 3030);
    ASSERT_TRUE(engine->Start());
    EXPECT_TRUE(Eventually([&] { return server.RequestCount() > served + 1; }));
}

TEST_F(RequestEngineOverTcp, AnUnpostableNoticeIsTriedTenTimesThenDropped) {
    notices.Refuse(true);
    Define(8, 100, ReadHolding(8));
    ASSERT_TRUE(engine->Start());
    ASSERT_TRUE(engine->SetUpdateMode(8, UpdateMode::Once));
    ASSERT_TRUE(Eventually([&] { return notices.Attempts() >= 10; }));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(notices.Attempts(), 10);
    EXPECT_EQ(engine->GetResult(8), 0);
}

TEST(RequestEngine, ClosedConnectionGivesCode16) {
    NoticeRecorder notices;
    auto engine = std::make_unique<RequestEngine>();
    engine->Master().SetTransportMode(TransportMode::Tcp);
    ASSERT_TRUE(engine->DefineRequest(&notices, 0, 0, ReadHolding(0)));
    ASSERT_TRUE(engine->SetUpdateMode(0, UpdateMode::Once));
    ASSERT_TRUE(engine->Start());
    ASSERT_TRUE(notices.WaitFor(1));
    EXPECT_EQ(notices.Notices()[0].code, Code(ResultCode::NotOpen));
    EXPECT_EQ(engine->GetResult(0), Code(ResultCode::NotOpen));
}

} // namespace
} // namespace tolvex

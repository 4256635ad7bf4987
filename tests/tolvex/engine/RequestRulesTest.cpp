#include "RequestEngine.h"
#include "tolvex/ResultCode.h"

#include <gtest/gtest.h>
#include <memory>

namespace tolvex {
namespace {

RequestDefinition Read(uint16_t function, uint16_t quantity, uint16_t slave = 1) {
    return RequestDefinition{slave, function, 0, quantity, 0, 0};
}

RequestDefinition Write(uint16_t function, uint16_t quantity, uint16_t slave = 1) {
    return RequestDefinition{slave, function, 0, 0, 0, quantity};
}

// The engine is never started here: these are the table's rules alone.
class RequestRules : public ::testing::Test {
protected:
    bool Define(uint16_t handle, uint32_t rate, const RequestDefinition& request) {
        return engine->DefineRequest(nullptr, handle, rate, request);
    }

    std::unique_ptr<RequestEngine> engine = std::make_unique<RequestEngine>();
};

TEST_F(RequestRules, HandlesAndRates) {
    EXPECT_FALSE(Define(100, 1000, Read(3, 1)));
    EXPECT_FALSE(Define(0xFFFF, 1000, Read(3, 1)));
    EXPECT_TRUE(Define(99, 1000, Read(3, 1)));

    EXPECT_FALSE(Define(1, 49, Read(3, 1)));
    EXPECT_TRUE(Define(1, 50, Read(3, 1)));
    EXPECT_TRUE(Define(1, 600000, Read(3, 1)));
    EXPECT_FALSE(Define(1, 600001, Read(3, 1)));
    // A negative rate arrives as a huge unsigned one.
    EXPECT_FALSE(Define(1, static_cast<uint32_t>(-1), Read(3, 1)));

    EXPECT_TRUE(Define(0, 0, Read(3, 1)));
    EXPECT_TRUE(Define(0, 49, Read(3, 1)));
}

TEST_F(RequestRules, SlaveAddresses) {
    EXPECT_FALSE(Define(1, 100, Read(3, 1, 256)));
    EXPECT_TRUE(Define(1, 100, Read(3, 1, 255)));
    // Reads may not be broadcast; writes to slave 0 are broadcasts.
    for (uint16_t function : {1, 2, 3, 4}) {
        EXPECT_FALSE(Define(1, 100, Read(function, 1, 0))) << function;
    }
    EXPECT_FALSE(Define(1, 100, RequestDefinition{0, 23, 0, 1, 0, 1}));
    EXPECT_TRUE(Define(1, 100, Write(5, 1, 0)));
    EXPECT_TRUE(Define(1, 100, Write(6, 1, 0)));
    EXPECT_TRUE(Define(1, 100, Write(15, 8, 0)));
    EXPECT_TRUE(Define(1, 100, Write(16, 2, 0)));
}

TEST_F(RequestRules, QuantityLimitsOfEachFunction) {
    struct Case {
        RequestDefinition request;
        bool accepted;
    };
    const Case cases[] = {
        {Read(1, 0), false},
        {Read(1, 1), true},
        {Read(2, 1968), true},
        {Read(2, 1969), false},
        {Read(3, 125), true},
        {Read(3, 126), false},
        {Read(4, 0), false},
        {Write(5, 0), true},
        {Write(6, 1), true},
        {Write(6, 2), false},
        {Write(15, 0), false},
        {Write(15, 1968), true},
        {Write(15, 1969), false},
        {Write(16, 123), true},
        {Write(16, 124), false},
        {{1, 23, 0, 125, 0, 121}, true},
        {{1, 23, 0, 126, 0, 1}, false},
        {{1, 23, 0, 1, 0, 122}, false},
        {{1, 23, 0, 1, 0, 0}, false},
        {Read(7, 1), false},
        {Write(17, 1), false},
        {Read(0, 1), false},
        // A code whose low byte names a function is still unknown.
        {Read(256 + 3, 1), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Define(1, 100, c.request), c.accepted)
            << "function " << c.request.function << " read " << c.request.readQuantity << " write "
            << c.request.writeQuantity;
    }
}

TEST_F(RequestRules, RefusalChangesNothing) {
    ASSERT_TRUE(Define(4, 100, Read(3, 2)));
    ASSERT_TRUE(engine->SetUpdateMode(4, UpdateMode::Cyclic));
    EXPECT_FALSE(Define(4, 100, Read(3, 126)));
    // Still defined and enabled: a refused redefinition did not reset the mode or the result.
    EXPECT_TRUE(engine->IsBusy(4));
    EXPECT_TRUE(engine->SetUpdateMode(4, UpdateMode::Once));
}

TEST_F(RequestRules, DefinitionMakesTheResultPending) {
    EXPECT_EQ(engine->GetResult(100), Code(ResultCode::HandleOutOfRange));
    EXPECT_EQ(engine->GetResult(-1), Code(ResultCode::HandleOutOfRange));
    ASSERT_TRUE(Define(5, 1000, Read(3, 1)));
    EXPECT_EQ(engine->GetResult(5), Code(ResultCode::Pending));
    EXPECT_FALSE(engine->IsBusy(5));
    EXPECT_FALSE(engine->IsBusy(100));
    EXPECT_FALSE(engine->IsBusy(-1));
}

TEST_F(RequestRules, UpdateModeNeedsADefinedHandle) {
    EXPECT_FALSE(engine->SetUpdateMode(7, UpdateMode::Cyclic));
    EXPECT_FALSE(engine->SetUpdateMode(100, UpdateMode::Once));
    ASSERT_TRUE(Define(7, 1000, Read(3, 1)));
    EXPECT_TRUE(engine->SetUpdateMode(7, UpdateMode::Once));
    EXPECT_TRUE(engine->IsBusy(7));
    // Disabling leaves the busy flag to the worker's next search.
    EXPECT_TRUE(engine->SetUpdateMode(7, UpdateMode::Disabled));
    EXPECT_TRUE(engine->IsBusy(7));
}

TEST_F(RequestRules, StopAllUndefinesEverySlot) {
    ASSERT_TRUE(Define(0, 0, Read(3, 1)));
    ASSERT_TRUE(Define(42, 1000, Read(3, 1)));
    engine->StopAll();
    EXPECT_FALSE(engine->SetUpdateMode(0, UpdateMode::Once));
    EXPECT_FALSE(engine->SetUpdateMode(42, UpdateMode::Cyclic));
}

TEST_F(RequestRules, StartRefusesASecondWorker) {
    EXPECT_TRUE(engine->Start());
    EXPECT_FALSE(engine->Start());
    engine->Stop();
    engine->Stop();
    EXPECT_TRUE(engine->Start());
}

} // namespace
} // namespace tolvex

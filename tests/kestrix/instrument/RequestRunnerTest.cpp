// The runner over a real pseudo-terminal whose other end is gone, as when a USB adapter is
// pulled out.

#include "kestrix/instrument/RequestRunner.h"

#include "SessionHarness.h"
#include "tolvex/PortTable.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

namespace kestrix::test {
namespace {

constexpr int kPort = 11;

class CountingClient : public instrument::RequestClient {
public:
    void IssueRequest(instrument::RequestKind, std::int32_t) override { ++repeats; }
    void CompleteRequest(instrument::RequestKind, short) override { ++completions; }
    void LoseCommunication() override { lost = true; }

    int repeats = 0;
    int completions = 0;
    bool lost = false;
};

TEST(RequestRunner, ALineWhoseDeviceIsGoneIsLostAtOnceWithoutRetries) {
    EnsureApplication();
    int master = -1;
    int slave = -1;
    char name[64];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    ASSERT_TRUE(tolvex::SetPortDevice(kPort, name));
    CountingClient client;
    instrument::RequestRunner runner(client);
    runner.Open(kPort);
    ::close(master);
    ::close(slave);
    runner.Send(instrument::RequestKind::ReadIdentity, 0,
                instrument::RegisterRequest::ReadHolding(0, 1));
    SessionHarness::WaitFor([&] { return client.lost; });
    EXPECT_TRUE(client.lost);
    EXPECT_EQ(client.repeats, 0);
    EXPECT_EQ(client.completions, 0);
    EXPECT_FALSE(runner.IsBusy());
    runner.Close();
    tolvex::SetPortDevice(kPort, "");
}

} // namespace
} // namespace kestrix::test

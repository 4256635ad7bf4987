#include "TolvexAdapter.h"

#include "ModbusTcpServer.h"
#include "tolvex/control/TcpControl.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

namespace tolvex {
namespace {

class TolvexAdapterSignals : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "tolvex_adapter_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }

    void SetUp() override {
        test::UseLoopbackServer(adapter.Control(), server.Port());
        ASSERT_TRUE(adapter.Control().OpenConnection());
    }

    test::ModbusTcpServer server;
    TolvexAdapter adapter;
};

TEST_F(TolvexAdapterSignals, CompletionsBecomeSignalsOnTheOwningThread) {
    QThread* signalThread = nullptr;
    QObject::connect(&adapter, &TolvexAdapter::ResultOk, &adapter,
                     [&] { signalThread = QThread::currentThread(); });
    QSignalSpy ok(&adapter, &TolvexAdapter::ResultOk);
    QSignalSpy error(&adapter, &TolvexAdapter::ResultError);

    ASSERT_TRUE(adapter.Control().ReadHoldingRegisters(0, 1, 0, 1, 0));
    ASSERT_TRUE(adapter.Control().UpdateOnce(0));
    ASSERT_TRUE(ok.wait(10000));
    EXPECT_EQ(ok.takeFirst().at(0).value<short>(), 0);
    EXPECT_EQ(signalThread, QThread::currentThread());

    ASSERT_TRUE(adapter.Control().ReadHoldingRegisters(7, 1, 1999, 2, 100));
    ASSERT_TRUE(adapter.Control().UpdateOnce(7));
    ASSERT_TRUE(error.wait(10000));
    const QList<QVariant> arguments = error.takeFirst();
    EXPECT_EQ(arguments.at(0).value<short>(), 7);
    EXPECT_EQ(arguments.at(1).value<short>(), 2);
}

} // namespace
} // namespace tolvex

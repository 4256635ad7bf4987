#include "ModbusTcpServer.h"
#include "MonitorWindow.h"
#include "tolvex/control/TcpControl.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace tolvex_monitor {
namespace {

QString Cell(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text() : QString();
}

TEST(TolvexMonitor, ShowsTheRegistersOfARunningRequestAndItsResult) {
    tolvex::test::ModbusTcpServer server;
    for (uint16_t i = 0; i < 10; ++i) {
        server.SetHoldingRegister(static_cast<uint16_t>(i), static_cast<uint16_t>(100 + i));
    }
    MonitorWindow window;
    window.show();
    tolvex::test::UseLoopbackServer(window.Control(), server.Port());

    window.ConnectButton()->click();
    ASSERT_TRUE(window.Control().IsConnected()) << window.Result()->text().toStdString();
    window.StartButton()->click();
    QTableWidget& values = *window.Values();
    for (int waited = 0; Cell(values, 9, 1).isEmpty() && waited < 10000; waited += 20) {
        QTest::qWait(20);
    }
    ASSERT_EQ(values.rowCount(), 10);
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(Cell(values, row, 0), QString::number(row));
        EXPECT_EQ(Cell(values, row, 1), QString::number(100 + row));
    }
    EXPECT_EQ(window.Result()->text(), QStringLiteral("Result: 0 (success)"));
    window.StartButton()->click();
    window.ConnectButton()->click();
    EXPECT_FALSE(window.Control().IsConnected());
}

} // namespace
} // namespace tolvex_monitor

#include "MonitorWindow.h"

#include "ResultMeaning.h"
#include "TolvexDialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tolvex_monitor {
namespace {

// The monitor keeps its one request on handle 1, which may repeat at an update rate.
constexpr short kHandle = 1;

enum Function { HoldingRegisters, InputRegisters, Coils, Inputs };

QSpinBox* SpinBox(int low, int high, int value) {
    auto* box = new QSpinBox;
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

} // namespace

MonitorWindow::MonitorWindow(QWidget* parent)
    : QWidget(parent), adapter_(new tolvex::TolvexAdapter(this)) {
    setWindowTitle(QStringLiteral("Tolvex Monitor"));
    values_ = new QTableWidget(0, 2);
    values_->setHorizontalHeaderLabels({QStringLiteral("Address"), QStringLiteral("Value")});
    values_->horizontalHeader()->setStretchLastSection(true);
    values_->verticalHeader()->hide();
    values_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    values_->setAccessibleName(QStringLiteral("Values"));
    result_ = new QLabel(QStringLiteral("Result: none yet"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateConnectionRow());
    layout->addWidget(CreateRequestRow());
    layout->addWidget(values_);
    layout->addWidget(result_);

    connect(adapter_, &tolvex::TolvexAdapter::ResultOk, this, &MonitorWindow::ShowValues);
    connect(adapter_, &tolvex::TolvexAdapter::ResultError, this,
            [this](short, short error) { ShowResult(error); });
    ShowStatus();
}

QWidget* MonitorWindow::CreateConnectionRow() {
    auto* row = new QWidget;
    status_ = new QLabel;
    auto* settings = new QPushButton(QStringLiteral("&Settings..."));
    connect_ = new QPushButton(QStringLiteral("&Connect"));
    auto* about = new QPushButton(QStringLiteral("&About"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(status_, 1);
    layout->addWidget(settings);
    layout->addWidget(connect_);
    layout->addWidget(about);
    connect(settings, &QPushButton::clicked, this, [this] {
        tolvex::ShowPropertyPage(Control(), this);
        ShowStatus();
    });
    connect(connect_, &QPushButton::clicked, this, &MonitorWindow::ToggleConnection);
    connect(about, &QPushButton::clicked, this, [this] { tolvex::ShowAboutBox(this); });
    return row;
}

QWidget* MonitorWindow::CreateRequestRow() {
    auto* row = new QWidget;
    function_ = new QComboBox;
    function_->addItems({QStringLiteral("Read Holding Registers"),
                         QStringLiteral("Read Input Registers"), QStringLiteral("Read Coils"),
                         QStringLiteral("Read Inputs")});
    slave_ = SpinBox(1, 255, 1);
    address_ = SpinBox(0, 65535, 0);
    count_ = SpinBox(1, 125, 10);
    rate_ = SpinBox(50, 600000, 1000);
    rate_->setSuffix(QStringLiteral(" ms"));
    start_ = new QPushButton(QStringLiteral("S&tart"));
    auto* layout = new QFormLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addRow(QStringLiteral("&Function:"), function_);
    layout->addRow(QStringLiteral("S&lave:"), slave_);
    layout->addRow(QStringLiteral("A&ddress:"), address_);
    layout->addRow(QStringLiteral("Cou&nt:"), count_);
    layout->addRow(QStringLiteral("&Update rate:"), rate_);
    layout->addRow(start_);
    connect(start_, &QPushButton::clicked, this, &MonitorWindow::ToggleRequest);
    return row;
}

void MonitorWindow::ToggleConnection() {
    if (Control().IsConnected()) {
        Control().CloseConnection();
    } else if (!Control().OpenConnection()) {
        ShowResult(Control().GetLastError());
    }
    connect_->setText(Control().IsConnected() ? QStringLiteral("Dis&connect")
                                              : QStringLiteral("&Connect"));
    ShowStatus();
}

void MonitorWindow::ToggleRequest() {
    if (polling_) {
        Control().UpdateDisable(kHandle);
    } else if (!DefineRequest() || !Control().UpdateEnable(kHandle)) {
        result_->setText(QStringLiteral("The request was refused: check its fields."));
        return;
    }
    polling_ = !polling_;
    start_->setText(polling_ ? QStringLiteral("S&top") : QStringLiteral("S&tart"));
}

bool MonitorWindow::DefineRequest() {
    const short slave = static_cast<short>(slave_->value());
    const int address = address_->value();
    const short count = static_cast<short>(count_->value());
    const int rate = rate_->value();
    switch (function_->currentIndex()) {
    case HoldingRegisters:
        return Control().ReadHoldingRegisters(kHandle, slave, address, count, rate);
    case InputRegisters:
        return Control().ReadInputRegisters(kHandle, slave, address, count, rate);
    case Coils:
        return Control().ReadCoilStatus(kHandle, slave, address, count, rate);
    default:
        return Control().ReadInputStatus(kHandle, slave, address, count, rate);
    }
}

void MonitorWindow::ShowValues(short handle) {
    const bool bits = function_->currentIndex() >= Coils;
    const int count = count_->value();
    values_->setRowCount(count);
    for (int i = 0; i < count; ++i) {
        const short index = static_cast<short>(i);
        const short value =
            bits ? Control().Coil(handle, index) : Control().Register(handle, index);
        values_->setItem(i, 0, new QTableWidgetItem(QString::number(address_->value() + i)));
        values_->setItem(i, 1, new QTableWidgetItem(QString::number(value)));
    }
    ShowResult(Control().GetResult(handle));
}

void MonitorWindow::ShowResult(short code) {
    result_->setText(
        QStringLiteral("Result: %1 (%2)")
            .arg(code)
            .arg(QString::fromUtf8(tolvex::ResultMeaning(static_cast<uint16_t>(code)))));
}

void MonitorWindow::ShowStatus() {
    status_->setText(QString::fromStdString(Control().StatusText()));
}

} // namespace tolvex_monitor

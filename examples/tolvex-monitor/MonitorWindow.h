#pragma once

// The model Qt host of the Modbus master control: connection settings on the control's property
// page, one cyclic read request, its values in a table as the control's events bring them, and
// the result code as text.

#include "TolvexAdapter.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tolvex_monitor {

class MonitorWindow : public QWidget {
    Q_OBJECT

public:
    explicit MonitorWindow(QWidget* parent = nullptr);

    tolvex::CTolvexCtrl& Control() { return adapter_->Control(); }
    QPushButton* ConnectButton() const { return connect_; }
    QPushButton* StartButton() const { return start_; }
    QTableWidget* Values() const { return values_; }
    QLabel* Result() const { return result_; }

private:
    QWidget* CreateConnectionRow();
    QWidget* CreateRequestRow();
    void ToggleConnection();
    void ToggleRequest();
    bool DefineRequest();
    void ShowValues(short handle);
    void ShowResult(short code);
    void ShowStatus();

    tolvex::TolvexAdapter* adapter_;
    QLabel* status_ = nullptr;
    QPushButton* connect_ = nullptr;
    QComboBox* function_ = nullptr;
    QSpinBox* slave_ = nullptr;
    QSpinBox* address_ = nullptr;
    QSpinBox* count_ = nullptr;
    QSpinBox* rate_ = nullptr;
    QPushButton* start_ = nullptr;
    QTableWidget* values_ = nullptr;
    QLabel* result_ = nullptr;
    bool polling_ = false;
};

} // namespace tolvex_monitor

#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QLineEdit;

namespace tolvex {

class CTolvexCtrl;

// The control's "General" page: drop-down lists and edits over its connection properties.
// TCPIPPort and RTSControl are not on it.
class CTolvexPropPage : public QWidget {
    Q_OBJECT

public:
    explicit CTolvexPropPage(CTolvexCtrl& control, QWidget* parent = nullptr);

    // Shows the control's current values.
    void Load();
    // Checks the edits' ranges, then writes each changed value through the control's property.
    // A value out of range is named in a message with its range, gets the focus, and nothing is
    // written.
    bool Apply();

private:
    // One property on the page: a drop-down list whose index is the value, or an edit.
    struct Field {
        QComboBox* list = nullptr;
        QLineEdit* edit = nullptr;
        QString name;
        int low = 0;
        int high = 0;
        std::function<short()> read;
        std::function<void(short)> write;
    };

    // The page's controls, named after their properties (cmbParity, txtIPAddr1, ...).
    struct Controls {
        QComboBox* parity;
        QComboBox* stopBits;
        QLineEdit* timeout;
        QComboBox* baudRate;
        QComboBox* protocolMode;
        QComboBox* dataBits;
        std::array<QLineEdit*, 4> address;
        QComboBox* connection;
    };

    Controls AddFields();
    QComboBox* AddList(const char* property, const QString& name, const QStringList& entries,
                       std::function<short()> read, std::function<void(short)> write);
    QLineEdit* AddEdit(const QString& property, const QString& name, int low, int high,
                       std::function<short()> read, std::function<void(short)> write);
    void BuildLayout(const Controls& controls);
    static std::optional<int> ChosenValue(const Field& field);
    void Refuse(const Field& field);

    CTolvexCtrl& control_;
    std::vector<Field> fields_; // in the order values are written
};

} // namespace tolvex

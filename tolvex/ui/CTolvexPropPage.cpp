#include "CTolvexPropPage.h"

#include "CTolvexCtrl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpressionValidator>

namespace tolvex {
namespace {

constexpr int kTimeoutLow = 300;
constexpr int kTimeoutHigh = 10000;
constexpr int kAddressPartHigh = 255;
constexpr int kPortCount = 32;

QStringList Suffixed(const QStringList& values, const QString& suffix) {
    QStringList entries;
    for (const QString& value : values) {
        entries << value + suffix;
    }
    return entries;
}

QStringList ConnectionEntries() {
    QStringList entries{QStringLiteral("TCP/IP")};
    for (int port = 1; port <= kPortCount; ++port) {
        entries << QStringLiteral("Port %1").arg(port);
    }
    return entries;
}

QLayout* Single(QWidget* widget) {
    auto* layout = new QHBoxLayout;
    layout->addWidget(widget);
    return layout;
}

QGroupBox* Group(const QString& title, QLayout* content) {
    auto* group = new QGroupBox(title);
    group->setLayout(content);
    return group;
}

} // namespace

CTolvexPropPage::CTolvexPropPage(CTolvexCtrl& control, QWidget* parent)
    : QWidget(parent), control_(control) {
    setWindowTitle(QStringLiteral("General"));
    BuildLayout(AddFields());
    Load();
}

CTolvexPropPage::Controls CTolvexPropPage::AddFields() {
    CTolvexCtrl* c = &control_;
    Controls controls{};
    controls.parity = AddList(
        "Parity", QStringLiteral("Parity"),
        {QStringLiteral("None Parity"), QStringLiteral("Odd Parity"),
         QStringLiteral("Even Parity")},
        [c] { return c->Parity(); }, [c](short v) { c->SetParity(v); });
    controls.stopBits = AddList(
        "StopBits", QStringLiteral("Stop Bits"),
        {QStringLiteral("1 Stop Bit"), QStringLiteral("2 Stop Bits")},
        [c] { return c->StopBits(); }, [c](short v) { c->SetStopBits(v); });
    controls.timeout = AddEdit(
        QStringLiteral("Timeout"), QStringLiteral("Response Timeout"), kTimeoutLow, kTimeoutHigh,
        [c] { return c->Timeout(); }, [c](short v) { c->SetTimeout(v); });
    controls.baudRate = AddList(
        "BaudRate", QStringLiteral("Baud Rate"),
        Suffixed({"300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000",
                  "57600", "115200"},
                 QStringLiteral(" Baud")),
        [c] { return c->BaudRate(); }, [c](short v) { c->SetBaudRate(v); });
    controls.protocolMode = AddList(
        "ProtocolMode", QStringLiteral("Protocol Mode"),
        {QStringLiteral("RTU"), QStringLiteral("ASCII")}, [c] { return c->ProtocolMode(); },
        [c](short v) { c->SetProtocolMode(v); });
    controls.dataBits = AddList(
        "DataBits", QStringLiteral("Data Bits"),
        {QStringLiteral("7 Data Bits"), QStringLiteral("8 Data Bits")},
        [c] { return c->DataBits(); }, [c](short v) { c->SetDataBits(v); });
    for (int part = 1; part <= 4; ++part) {
        controls.address[static_cast<std::size_t>(part - 1)] = AddEdit(
            QStringLiteral("IPAddr%1").arg(part),
            QStringLiteral("TCP/IP Address, part %1").arg(part), 0, kAddressPartHigh,
            [c, part] { return c->IPAddr(part); }, [c, part](short v) { c->SetIPAddr(part, v); });
    }
    controls.connection = AddList(
        "Connection", QStringLiteral("Connection"), ConnectionEntries(),
        [c] { return c->Connection(); }, [c](short v) { c->SetConnection(v); });
    return controls;
}

void CTolvexPropPage::Load() {
    for (const Field& field : fields_) {
        const short value = field.read();
        if (field.list) {
            // A loaded value outside the list shows as no choice and is left alone by Apply.
            field.list->setCurrentIndex(value < field.list->count() ? value : -1);
        } else {
            field.edit->setText(QString::number(value));
        }
    }
}

bool CTolvexPropPage::Apply() {
    for (const Field& field : fields_) {
        if (field.edit && !ChosenValue(field)) {
            Refuse(field);
            return false;
        }
    }
    for (const Field& field : fields_) {
        const std::optional<int> value = ChosenValue(field);
        if (value && *value != field.read()) {
            field.write(static_cast<short>(*value));
        }
    }
    return true;
}

QComboBox* CTolvexPropPage::AddList(const char* property, const QString& name,
                                    const QStringList& entries, std::function<short()> read,
                                    std::function<void(short)> write) {
    auto* list = new QComboBox(this);
    list->addItems(entries);
    list->setAccessibleName(name);
    list->setObjectName(QStringLiteral("cmb") + QLatin1String(property));
    fields_.push_back({list, nullptr, name, 0, static_cast<int>(entries.size()) - 1,
                       std::move(read), std::move(write)});
    return list;
}

QLineEdit* CTolvexPropPage::AddEdit(const QString& property, const QString& name, int low, int high,
                                    std::function<short()> read, std::function<void(short)> write) {
    auto* edit = new QLineEdit(this);
    // Digits only; the range is checked on Apply, which names it.
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,5}")), edit));
    edit->setAccessibleName(name);
    edit->setObjectName(QStringLiteral("txt") + property);
    fields_.push_back({nullptr, edit, name, low, high, std::move(read), std::move(write)});
    return edit;
}

std::optional<int> CTolvexPropPage::ChosenValue(const Field& field) {
    bool parsed = true;
    const int value = field.list ? field.list->currentIndex() : field.edit->text().toInt(&parsed);
    if (!parsed || value < field.low || value > field.high) {
        return std::nullopt;
    }
    return value;
}

void CTolvexPropPage::Refuse(const Field& field) {
    QMessageBox::warning(this, window()->windowTitle(),
                         tr("%1: please enter an integer between %2 and %3.")
                             .arg(field.name)
                             .arg(field.low)
                             .arg(field.high));
    field.edit->setFocus();
    field.edit->selectAll();
}

void CTolvexPropPage::BuildLayout(const Controls& controls) {
    auto* serial = new QGridLayout;
    serial->addWidget(controls.baudRate, 0, 0);
    serial->addWidget(controls.dataBits, 0, 1);
    serial->addWidget(controls.parity, 1, 0);
    serial->addWidget(controls.stopBits, 1, 1);
    auto* timeout = new QHBoxLayout;
    timeout->addWidget(controls.timeout);
    timeout->addWidget(new QLabel(QStringLiteral("ms")));
    auto* address = new QHBoxLayout;
    for (QLineEdit* part : controls.address) {
        if (part != controls.address.front()) {
            address->addWidget(new QLabel(QStringLiteral(".")));
        }
        address->addWidget(part);
    }

    auto* page = new QGridLayout(this);
    page->addWidget(Group(QStringLiteral("Connection"), Single(controls.connection)), 0, 0);
    page->addWidget(Group(QStringLiteral("Serial Configuration"), serial), 1, 0, 2, 1);
    page->addWidget(Group(QStringLiteral("Protocol Mode"), Single(controls.protocolMode)), 0, 1);
    page->addWidget(Group(QStringLiteral("Response Timeout"), timeout), 1, 1);
    page->addWidget(Group(QStringLiteral("TCP/IP Address"), address), 2, 1);
    page->setRowStretch(3, 1);
}

} // namespace tolvex

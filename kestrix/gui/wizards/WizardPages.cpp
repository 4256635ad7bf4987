#include "kestrix/gui/wizards/WizardPages.h"

#include "kestrix/gui/common/Icons.h"
#include "kestrix/instrument/PictureKey.h"

#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

namespace kestrix::gui {
namespace {

constexpr int kPictureSize = 140;

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    QLabel* label = MakeWrappedLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

void Fill(QComboBox& list, const instrument::ListChoice& choice) {
    const QSignalBlocker quiet(list);
    list.clear();
    for (const instrument::ListEntry& entry : choice.entries) {
        list.addItem(ToQString(entry.text), entry.data);
    }
    list.setCurrentIndex(choice.selected);
}

std::optional<int> SelectedData(const QComboBox& list) {
    if (list.currentIndex() < 0) {
        return std::nullopt;
    }
    return list.currentData().toInt();
}

} // namespace

QLabel* MakeWrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* MakeTextPage(const QString& objectName, const QString& text) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QLabel* label = MakeWrappedLabel(text, page);
    label->setObjectName(objectName);
    layout->addWidget(label);
    layout->addStretch(1);
    return page;
}

// ---- Port and address

PortAddressPage::PortAddressPage(const PortAddressTexts& texts, QWidget* parent)
    : QWidget(parent), cmbPort_(new QComboBox(this)), cmbAddress_(new QComboBox(this)) {
    cmbPort_->setObjectName(QStringLiteral("cmb2Port"));
    cmbAddress_->setObjectName(QStringLiteral("cmb2Address"));
    // A list popup rather than the style's menu popup, which would ignore the row limit.
    cmbAddress_->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    cmbAddress_->setMaxVisibleItems(12);
    auto* portLabel = new QLabel(QStringLiteral("P&ort :"), this);
    auto* addressLabel = new QLabel(QStringLiteral("&Address :"), this);
    portLabel->setBuddy(cmbPort_);
    addressLabel->setBuddy(cmbAddress_);
    cmbPort_->setAccessibleName(QStringLiteral("Port"));
    cmbAddress_->setAccessibleName(QStringLiteral("Address"));

    // The two lists start at one column although texts stand between them.
    const int labelWidth =
        std::max(portLabel->sizeHint().width(), addressLabel->sizeHint().width());
    portLabel->setMinimumWidth(labelWidth);
    addressLabel->setMinimumWidth(labelWidth);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NamedLabel("lbl2PortInfo", texts.portInfo, this));
    auto* port = new QFormLayout;
    port->addRow(portLabel, cmbPort_);
    layout->addLayout(port);
    layout->addSpacing(layout->spacing() * 2);
    layout->addWidget(NamedLabel("lbl2AddressInfo", texts.addressInfo, this));
    auto* address = new QFormLayout;
    address->addRow(addressLabel, cmbAddress_);
    layout->addLayout(address);
    layout->addSpacing(layout->spacing() * 2);
    layout->addWidget(NamedLabel("lbl2StopActions", texts.stopActions, this));
    layout->addStretch(1);

    connect(cmbPort_, &QComboBox::activated, this,
            [this](int index) { emit PortChosen(cmbPort_->itemData(index).toInt()); });
    connect(cmbAddress_, &QComboBox::activated, this,
            [this](int index) { emit AddressChosen(cmbAddress_->itemData(index).toInt()); });
}

void PortAddressPage::SetPorts(const instrument::ListChoice& ports) {
    Fill(*cmbPort_, ports);
}

void PortAddressPage::SetAddresses(const instrument::ListChoice& addresses) {
    Fill(*cmbAddress_, addresses);
}

void PortAddressPage::SelectDefaults() {
    for (QComboBox* list : {cmbPort_, cmbAddress_}) {
        if (list->count() > 0 && list->currentIndex() < 0) {
            const QSignalBlocker quiet(list);
            list->setCurrentIndex(0);
        }
    }
}

std::optional<int> PortAddressPage::SelectedPort() const {
    return SelectedData(*cmbPort_);
}

std::optional<int> PortAddressPage::SelectedAddress() const {
    return SelectedData(*cmbAddress_);
}

PortAddressTexts ParticleCounterPortTexts() {
    return {QStringLiteral("Connect your Orvenda particle counter to an unused COM (serial) port "
                           "on your PC.  Select the COM port you are using below."),
            QStringLiteral("Select the particle counter's communication address below.  If you "
                           "do not know this address, then select the <Auto-Detect> option.  "
                           "(Auto-detect might take about one minute to locate your particle "
                           "counter.)"),
            QStringLiteral("Please stop all actions on your particle counter such as sampling "
                           "and printing before clicking the \"Next\" button.")};
}

// ---- Connection and identity

IdentityPage::IdentityPage(const QString& notFoundText, const QString& countCaption,
                           const char* countName, QWidget* parent)
    : QWidget(parent), pbarConnect_(new QProgressBar(this)),
      lblProgInfo_(NamedLabel("lbl3ProgInfo", {}, this)),
      lblError_(NamedLabel("lbl3Error", notFoundText, this)), identity_(new QWidget(this)),
      form_(new QFormLayout), lblInstrument_(NamedLabel("lbl3Instrument", {}, identity_)),
      lblSerialNum_(NamedLabel("lbl3SerialNum", {}, identity_)),
      lblAddress_(NamedLabel("lbl3Address", {}, identity_)),
      lblCount_(NamedLabel(countName, {}, identity_)),
      lblDownload_(NamedLabel("lbl3Download", {}, identity_)), imgInstrument_(new QLabel(this)) {
    pbarConnect_->setObjectName(QStringLiteral("pbar3Connect"));
    pbarConnect_->setAccessibleName(QStringLiteral("Connecting to instrument"));
    pbarConnect_->setTextVisible(false);
    imgInstrument_->setObjectName(QStringLiteral("img3Instrument"));
    imgInstrument_->setFixedSize(kPictureSize, kPictureSize);

    QLabel* connected =
        NamedLabel("lbl3Connected", QStringLiteral("Connection established!"), identity_);
    QFont bold = connected->font();
    bold.setBold(true);
    connected->setFont(bold);
    form_->addRow(QStringLiteral("Instrument :"), lblInstrument_);
    form_->addRow(QStringLiteral("Serial # :"), lblSerialNum_);
    form_->addRow(QStringLiteral("Address :"), lblAddress_);
    form_->addRow(countCaption, lblCount_);
    auto* labels = new QVBoxLayout(identity_);
    labels->setContentsMargins(0, 0, 0, 0);
    labels->addWidget(connected);
    labels->addLayout(form_);
    labels->addWidget(lblDownload_);
    labels->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(identity_, 1);
    row->addWidget(imgInstrument_, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        NamedLabel("lbl3Connecting", QStringLiteral("Connecting to instrument..."), this));
    layout->addWidget(pbarConnect_);
    layout->addWidget(lblProgInfo_);
    layout->addWidget(lblError_);
    layout->addLayout(row, 1);
    ShowNotFound(false);
    ShowIdentityLabels(false);
}

void IdentityPage::SetProgress(int value, int maximum, const QString& text, bool textVisible) {
    pbarConnect_->setMaximum(maximum);
    pbarConnect_->setValue(value);
    lblProgInfo_->setText(text);
    lblProgInfo_->setVisible(textVisible);
}

void IdentityPage::ShowNotFound(bool shown) {
    lblError_->setVisible(shown);
}

void IdentityPage::ShowIdentity(const instrument::InstrumentIdentity& identity, int address,
                                std::optional<int> count) {
    const QString model = QString::fromStdString(identity.modelName);
    lblInstrument_->setText(model);
    lblSerialNum_->setText(
        QString::fromStdString(instrument::FormatSerialNumber(identity.serialNumber)));
    lblAddress_->setText(QString::number(address));
    lblCount_->setText(count ? QString::number(*count) : QString());
    form_->setRowVisible(lblCount_, count.has_value());
    const QString resource =
        QStringLiteral(":/instruments/%1.svg")
            .arg(QString::fromStdString(instrument::PictureKey(identity.modelName)));
    hasPicture_ = QFile::exists(resource);
    imgInstrument_->setPixmap(
        hasPicture_ ? DrawnPicture(resource, palette().color(QPalette::WindowText),
                                   QSize(kPictureSize, kPictureSize), devicePixelRatioF())
                    : QPixmap());
    imgInstrument_->setAccessibleName(hasPicture_ ? QStringLiteral("Picture of the %1").arg(model)
                                                  : QString());
}

void IdentityPage::ShowIdentityLabels(bool shown) {
    identity_->setVisible(shown);
    imgInstrument_->setVisible(shown && hasPicture_);
}

void IdentityPage::SetHint(const QString& hint) {
    lblDownload_->setText(hint);
}

} // namespace kestrix::gui

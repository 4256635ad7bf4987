#pragma once

// The steps the wizards share: a page of text, the choice of port and address, and the
// connection with the instrument's identity. They only show what they are given and announce
// the user's choices.

#include "kestrix/instrument/InstrumentIdentity.h"
#include "kestrix/instrument/PortList.h"

#include <QWidget>
#include <optional>

class QComboBox;
class QFormLayout;
class QLabel;
class QProgressBar;

namespace kestrix::gui {

// A step of text only, such as a welcome.
QWidget* MakeTextPage(const QString& objectName, const QString& text);

// Labels wrap and keep their whole text at any width.
QLabel* MakeWrappedLabel(const QString& text, QWidget* parent);

struct PortAddressTexts {
    QString portInfo;
    QString addressInfo;
    QString stopActions;
};

// The texts of the wizards that talk to any particle counter (the IAQ wizard has its own).
PortAddressTexts ParticleCounterPortTexts();

class PortAddressPage : public QWidget {
    Q_OBJECT
public:
    PortAddressPage(const PortAddressTexts& texts, QWidget* parent = nullptr);

    void SetPorts(const instrument::ListChoice& ports);
    void SetAddresses(const instrument::ListChoice& addresses);
    // With entries and nothing selected, the first port and the first address.
    void SelectDefaults();
    std::optional<int> SelectedPort() const;
    std::optional<int> SelectedAddress() const;
    QComboBox* PortList() const { return cmbPort_; }
    QComboBox* AddressList() const { return cmbAddress_; }

signals:
    // The user chose an entry (the program's own selections are not announced).
    void PortChosen(int port);
    void AddressChosen(int address);

private:
    QComboBox* cmbPort_;
    QComboBox* cmbAddress_;
};

class IdentityPage : public QWidget {
    Q_OBJECT
public:
    // The count row reads "Data Records :" unless a wizard counts something else.
    explicit IdentityPage(const QString& notFoundText,
                          const QString& countCaption = QStringLiteral("Data Records :"),
                          const char* countName = "lbl3Records", QWidget* parent = nullptr);

    void SetProgress(int value, int maximum, const QString& text, bool textVisible);
    void ShowNotFound(bool shown);
    // Without a count its row is hidden.
    void ShowIdentity(const instrument::InstrumentIdentity& identity, int address,
                      std::optional<int> count);
    void ShowIdentityLabels(bool shown);
    void SetHint(const QString& hint);

private:
    QProgressBar* pbarConnect_;
    QLabel* lblProgInfo_;
    QLabel* lblError_;
    QWidget* identity_;
    QFormLayout* form_;
    QLabel* lblInstrument_;
    QLabel* lblSerialNum_;
    QLabel* lblAddress_;
    QLabel* lblCount_;
    QLabel* lblDownload_;
    QLabel* imgInstrument_;
    bool hasPicture_ = false;
};

} // namespace kestrix::gui

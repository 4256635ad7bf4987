#include "kestrix/gui/wizards/ConnectingWizard.h"

#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/instrument/PortBinding.h"
#include "kestrix/instrument/scanMemory.h"
#include "kestrix/shell/modConfig.h"

#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

namespace kestrix::gui {

namespace {

// Often enough that a plugged-in adapter shows while the user looks; the check only lists
// devices, it opens none.
constexpr int kPortWatchMilliseconds = 1000;

// What plugging in or pulling out an adapter changes: the devices reported and bound, and
// whether a configured one is there.
std::vector<std::pair<instrument::BoundPort, bool>>
DevicesSeen(const std::vector<instrument::BoundPort>& bound) {
    std::vector<std::pair<instrument::BoundPort, bool>> seen;
    for (const instrument::BoundPort& port : bound) {
        seen.emplace_back(port, QFileInfo::exists(QString::fromStdString(port.device.path)));
    }
    return seen;
}

} // namespace

ConnectingWizard::ConnectingWizard(const QString& title, modConfig::ConfigStore& store,
                                   UserDialogs& dialogs, const PortAddressTexts& portTexts,
                                   IdentityPage* identityPage, QWidget* parent)
    : WizardFrame(title, parent), store_(store), dialogs_(dialogs), portWatch_(new QTimer(this)),
      portPage_(new PortAddressPage(portTexts)), identityPage_(identityPage) {
    portWatch_->setInterval(kPortWatchMilliseconds);
    connect(portWatch_, &QTimer::timeout, this, &ConnectingWizard::FollowPorts);
    portPage_->SetAddresses(
        instrument::BuildAddressList(store_.GetConfigValue(modConfig::kDeviceAddress)));
    connect(portPage_, &PortAddressPage::PortChosen, this,
            [this](int port) { store_.SetConfigValue(modConfig::kComPort, port); });
    connect(portPage_, &PortAddressPage::AddressChosen, this,
            [this](int address) { store_.SetConfigValue(modConfig::kDeviceAddress, address); });
}

void ConnectingWizard::BindConnection(instrument::SessionCore& session) {
    core_ = &session;
    connect(&session, &instrument::SessionCore::IdentityShown, this,
            [this] { scanMemory::RememberFoundAddress(*core_, store_); });
    connect(&session, &instrument::SessionCore::ButtonCarriedOut, this,
            &ConnectingWizard::CarryOut);
    connect(&session, &instrument::SessionCore::ConnectProgressChanged, this,
            [this](const instrument::ConnectProgress& progress) {
                identityPage_->SetProgress(progress.value, progress.maximum,
                                           QString::fromStdString(progress.text),
                                           progress.textVisible);
            });
    connect(&session, &instrument::SessionCore::InstrumentNotFound, this,
            [this] { identityPage_->ShowNotFound(true); });
    connect(&session, &instrument::SessionCore::CommunicationLost, this, [this] { ShowStep(2); });
    connect(
        &session, &instrument::SessionCore::NoticeShown, this,
        [this](instrument::MessageIcon icon, const std::string& title, const std::string& text) {
            ShowNoticeLater(*this, dialogs_, icon, title, text);
        });
}

void ConnectingWizard::Restart() {
    RefreshPorts();
    WizardFrame::Restart();
}

// Adapters come and go: the list is read again whenever the choice is shown.
void ConnectingWizard::RefreshPorts() {
    ListPorts(store_.GetConfigValue(modConfig::kComPort),
              instrument::BindSystemPorts(store_.GetConfigPath()));
}

void ConnectingWizard::ListPorts(int chosen, const std::vector<instrument::BoundPort>& bound) {
    devicesSeen_ = DevicesSeen(bound);
    ports_ = instrument::BuildPortList(chosen, bound);
    portPage_->SetPorts(ports_);
}

// While the port choice is shown, an adapter plugged in or pulled out changes the list; the
// port chosen stays chosen while it is there.
void ConnectingWizard::FollowPorts() {
    if (!portPage_->isVisible()) {
        portWatch_->stop();
        return;
    }
    const std::vector<instrument::BoundPort> bound =
        instrument::BindSystemPorts(store_.GetConfigPath());
    if (DevicesSeen(bound) != devicesSeen_) {
        ListPorts(portPage_->SelectedPort().value_or(store_.GetConfigValue(modConfig::kComPort)),
                  bound);
        portPage_->SelectDefaults();
    }
}

bool ConnectingWizard::EnterSharedStep(int step, int previous) {
    switch (step) {
    case 1:
        SetButtons({.prevVisible = false, .prevEnabled = false});
        NextButton()->setFocus();
        return true;
    case 2:
        SetButtons({});
        if (previous > 2) {
            RefreshPorts();
        }
        portPage_->SelectDefaults();
        portWatch_->start();
        NextButton()->setFocus();
        return true;
    case 3:
        EnterConnectStep(previous);
        return true;
    default:
        return false;
    }
}

// Coming back from a later step keeps the identity shown; coming forward connects afresh.
void ConnectingWizard::EnterConnectStep(int previous) {
    const bool forward = previous < 3;
    SetButtons({.nextEnabled = !forward});
    if (!forward) {
        return;
    }
    identityPage_->ShowNotFound(false);
    identityPage_->ShowIdentityLabels(false);
    scanMemory::PrepareScan(*core_, store_);
    if (!ChosenPortCanOpen(*this, dialogs_, ports_, portPage_->PortList()->currentIndex()) ||
        !core_->StartIdentification(portPage_->SelectedPort(), portPage_->SelectedAddress())) {
        ShowStep(2);
    }
}

void ConnectingWizard::AskLater(const std::string& title, const std::string& text,
                                std::function<void(bool yes)> answer) {
    QTimer::singleShot(0, this,
                       [this, title = WizardText(title), text = WizardText(text),
                        answer = std::move(answer)] { answer(AskNow(title, text)); });
}

bool ConnectingWizard::AskNow(const QString& title, const QString& text) {
    return dialogs_.Message(
               this,
               {text, title, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, {}}) ==
           QMessageBox::Yes;
}

} // namespace kestrix::gui

#include "kestrix/gui/wizards/DownloadWizard.h"

#include "kestrix/gui/main/UserDialogs.h"
#include "kestrix/gui/wizards/WizardNotices.h"
#include "kestrix/gui/wizards/WizardPages.h"
#include "kestrix/instrument/DownloadSession.h"
#include "kestrix/instrument/PictureKey.h"
#include "kestrix/instrument/PortBinding.h"
#include "kestrix/instrument/PortList.h"
#include "kestrix/instrument/sessionTexts.h"
#include "kestrix/shell/modConfig.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kestrix::gui {
namespace {

const QString kWelcome = QStringLiteral(
    "Welcome to the Data Download wizard!\n\n"
    "This wizard helps you connect your computer to your Orvenda particle counter so that you "
    "can download its data into this application's data table.\n\n"
    "(Warning! Downloading new data will replace your last downloaded data in the data "
    "table.)\n\n"
    "Click \"Next\" to continue with this wizard.\n\n"
    "Click \"Cancel\" if you do not want to download data.");

const PortAddressTexts kPortTexts{
    QStringLiteral("Connect your Orvenda particle counter to an unused COM (serial) port on your "
                   "PC.  Select the COM port you are using below."),
    QStringLiteral("Select the particle counter's communication address below.  If you do not "
                   "know this address, then select the <Auto-Detect> option.  (Auto-detect might "
                   "take about one minute to locate your particle counter.)"),
    QStringLiteral("Please stop all actions on your particle counter such as sampling and "
                   "printing before clicking the \"Next\" button.")};

const QString kDownloadHint =
    QStringLiteral("Click the \"Next\" button to download the instrument's data.");

} // namespace

DownloadWizard::DownloadWizard(modConfig::ConfigStore& store, UserDialogs& dialogs, QWidget* parent)
    : WizardFrame(QStringLiteral("Data Download Wizard"), parent), store_(store), dialogs_(dialogs),
      session_(std::make_unique<DownloadSession>()), portPage_(new PortAddressPage(kPortTexts)),
      identityPage_(new IdentityPage(WizardText(sessionTexts::NotFoundText()))) {
    setObjectName(QStringLiteral("frmDlgDownloadWiz"));
    AddStep(MakeTextPage(QStringLiteral("lbl1Welcome"), kWelcome));
    AddStep(portPage_);
    AddStep(identityPage_);
    AddStep(MakeDownloadPage());
    identityPage_->SetHint(kDownloadHint);
    portPage_->SetAddresses(BuildAddressList(store_.GetConfigValue(modConfig::kDeviceAddress)));

    connect(portPage_, &PortAddressPage::PortChosen, this,
            [this](int port) { store_.SetConfigValue(modConfig::kComPort, port); });
    connect(portPage_, &PortAddressPage::AddressChosen, this,
            [this](int address) { store_.SetConfigValue(modConfig::kDeviceAddress, address); });
    DownloadSession* session = session_.get();
    connect(session, &DownloadSession::ButtonCarriedOut, this, &DownloadWizard::CarryOut);
    connect(session, &DownloadSession::ConnectProgressChanged, this,
            &DownloadWizard::ShowConnectProgress);
    connect(session, &DownloadSession::IdentityShown, this, &DownloadWizard::ShowIdentity);
    connect(session, &DownloadSession::InstrumentNotFound, this,
            [this] { identityPage_->ShowNotFound(true); });
    connect(session, &DownloadSession::CommunicationLost, this, [this] { ShowStep(2); });
    connect(session, &DownloadSession::NoticeShown, this,
            [this](MessageIcon icon, const std::string& title, const std::string& text) {
                ShowNoticeLater(*this, dialogs_, icon, title, text);
            });
    connect(session, &DownloadSession::QuestionAsked, this, &DownloadWizard::AskQuestion);
    connect(session, &DownloadSession::DownloadProgressChanged, this,
            &DownloadWizard::ShowDownloadState);
    connect(session, &DownloadSession::DownloadEnded, this, &DownloadWizard::ShowDownloadState);
}

DownloadWizard::~DownloadWizard() = default;

QWidget* DownloadWizard::MakeDownloadPage() {
    auto* page = new QWidget;
    auto* downloading = MakeWrappedLabel(QStringLiteral("Downloading data..."), page);
    downloading->setObjectName(QStringLiteral("lbl4Downloading"));
    pbarDownload_ = new QProgressBar(page);
    pbarDownload_->setObjectName(QStringLiteral("pbar4Download"));
    pbarDownload_->setAccessibleName(QStringLiteral("Downloading data"));
    pbarDownload_->setTextVisible(false);
    lblProgInfo_ = MakeWrappedLabel({}, page);
    lblProgInfo_->setObjectName(QStringLiteral("lbl4ProgInfo"));
    lblDoNotUse_ = MakeWrappedLabel(QString::fromUtf8(sessionTexts::kDoNotUseText), page);
    lblDoNotUse_->setObjectName(QStringLiteral("lbl4DoNotDoAnything"));
    lblDone_ = MakeWrappedLabel(WizardText(sessionTexts::DoneLabelText()), page);
    lblDone_->setObjectName(QStringLiteral("lbl4Done"));
    lblNoData_ = MakeWrappedLabel(WizardText(sessionTexts::NoDataLabelText()), page);
    lblNoData_->setObjectName(QStringLiteral("lbl4NoData"));
    auto* layout = new QVBoxLayout(page);
    for (QWidget* widget :
         {static_cast<QWidget*>(downloading), static_cast<QWidget*>(pbarDownload_),
          static_cast<QWidget*>(lblProgInfo_), static_cast<QWidget*>(lblDoNotUse_),
          static_cast<QWidget*>(lblDone_), static_cast<QWidget*>(lblNoData_)}) {
        layout->addWidget(widget);
    }
    layout->addStretch(1);
    return page;
}

bool DownloadWizard::WasDataDownloaded() const {
    return session_->WasDataDownloaded();
}

std::shared_ptr<clsDataRecordSet> DownloadWizard::GetDataRecordSet() const {
    return session_->GetDataRecordSet();
}

void DownloadWizard::OnPress(WizardButton button) {
    session_->PressButton(button);
}

void DownloadWizard::Restart() {
    session_->DiscardRecordSet();
    ports_ = BuildPortList(store_.GetConfigValue(modConfig::kComPort),
                           BindSystemPorts(store_.GetConfigPath()));
    portPage_->SetPorts(ports_);
    WizardFrame::Restart();
}

void DownloadWizard::OnHidden() {
    session_->CloseConnections();
}

void DownloadWizard::EnterStep(int step, int previous) {
    session_->DiscardRecordSet();
    switch (step) {
    case 1:
        SetButtons({.prevVisible = false, .prevEnabled = false});
        NextButton()->setFocus();
        return;
    case 2:
        SetButtons({});
        portPage_->SelectDefaults();
        NextButton()->setFocus();
        return;
    case 3:
        return EnterConnectStep(previous);
    case 4:
        return EnterDownloadStep();
    default:
        return;
    }
}

void DownloadWizard::EnterConnectStep(int previous) {
    const bool forward = previous < 3;
    SetButtons({.nextEnabled = !forward});
    if (!forward) {
        return;
    }
    identityPage_->ShowNotFound(false);
    identityPage_->ShowIdentityLabels(false);
    if (!ChosenPortCanOpen(*this, dialogs_, ports_, portPage_->PortList()->currentIndex()) ||
        !session_->StartIdentification(portPage_->SelectedPort(), portPage_->SelectedAddress())) {
        ShowStep(2);
    }
}

void DownloadWizard::EnterDownloadStep() {
    SetButtons({.nextVisible = false, .nextEnabled = false});
    pbarDownload_->setValue(0);
    lblProgInfo_->clear();
    for (QLabel* label : {lblDoNotUse_, lblDone_, lblNoData_}) {
        label->hide();
    }
    session_->StartDownload();
}

void DownloadWizard::ShowConnectProgress() {
    const ConnectProgress& progress = session_->Progress();
    identityPage_->SetProgress(progress.value, progress.maximum,
                               QString::fromStdString(progress.text), progress.textVisible);
}

void DownloadWizard::ShowIdentity() {
    const InstrumentIdentity& identity = session_->Identity();
    identityPage_->ShowIdentity(QString::fromStdString(identity.modelName),
                                QString::fromStdString(session_->SerialNumberText()),
                                session_->SlaveAddress(), identity.recordCount,
                                QString::fromStdString(PictureKey(identity.modelName)));
    identityPage_->ShowIdentityLabels(true);
    NextButton()->setEnabled(true);
    NextButton()->setFocus();
}

void DownloadWizard::ShowDownloadState() {
    const DownloadView& view = session_->View();
    pbarDownload_->setMaximum(view.progress.maximum);
    pbarDownload_->setValue(view.progress.value);
    lblProgInfo_->setText(QString::fromStdString(view.progress.text));
    lblDoNotUse_->setVisible(view.doNotUseShown);
    lblDone_->setVisible(view.doneShown);
    lblNoData_->setVisible(view.noDataShown);
    SetCloseCaption(view.cancelCaption == sessionTexts::kCloseCaption);
}

void DownloadWizard::AskQuestion(const std::string& title, const std::string& text) {
    QTimer::singleShot(0, this, [this, title = WizardText(title), text = WizardText(text)] {
        const auto answer = dialogs_.Message(
            this, {text, title, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, {}});
        session_->AnswerQuestion(answer == QMessageBox::Yes);
    });
}

} // namespace kestrix::gui

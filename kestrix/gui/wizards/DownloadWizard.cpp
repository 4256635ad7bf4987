#include "kestrix/gui/wizards/DownloadWizard.h"

#include "kestrix/instrument/DownloadSession.h"
#include "kestrix/instrument/sessionTexts.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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

const QString kDownloadHint =
    QStringLiteral("Click the \"Next\" button to download the instrument's data.");

} // namespace

DownloadWizard::DownloadWizard(modConfig::ConfigStore& store, UserDialogs& dialogs, QWidget* parent)
    : ConnectingWizard(QStringLiteral("Data Download Wizard"), store, dialogs,
                       ParticleCounterPortTexts(),
                       new IdentityPage(WizardText(sessionTexts::NotFoundText())), parent),
      session_(std::make_unique<instrument::DownloadSession>()) {
    setObjectName(QStringLiteral("frmDlgDownloadWiz"));
    AddStep(MakeTextPage(QStringLiteral("lbl1Welcome"), kWelcome));
    AddStep(&PortPage());
    AddStep(&ConnectPage());
    AddStep(MakeDownloadPage());
    ConnectPage().SetHint(kDownloadHint);

    instrument::DownloadSession* session = session_.get();
    BindConnection(*session);
    connect(session, &instrument::DownloadSession::IdentityShown, this,
            &DownloadWizard::ShowIdentity);
    connect(session, &instrument::DownloadSession::QuestionAsked, this,
            [this](const std::string& title, const std::string& text) {
                AskLater(title, text, [this](bool yes) { session_->AnswerQuestion(yes); });
            });
    connect(session, &instrument::DownloadSession::DownloadProgressChanged, this,
            &DownloadWizard::ShowDownloadState);
    connect(session, &instrument::DownloadSession::DownloadEnded, this,
            &DownloadWizard::ShowDownloadState);
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

std::shared_ptr<data::clsDataRecordSet> DownloadWizard::GetDataRecordSet() const {
    return session_->GetDataRecordSet();
}

void DownloadWizard::OnPress(instrument::WizardButton button) {
    session_->PressButton(button);
}

void DownloadWizard::Restart() {
    session_->DiscardRecordSet();
    ConnectingWizard::Restart();
}

void DownloadWizard::OnHidden() {
    session_->CloseConnections();
}

void DownloadWizard::EnterStep(int step, int previous) {
    session_->DiscardRecordSet();
    if (!EnterSharedStep(step, previous) && step == 4) {
        EnterDownloadStep();
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

void DownloadWizard::ShowIdentity() {
    const instrument::InstrumentIdentity& identity = session_->Identity();
    ConnectPage().ShowIdentity(identity, session_->SlaveAddress(), identity.recordCount);
    ConnectPage().ShowIdentityLabels(true);
    NextButton()->setEnabled(true);
    NextButton()->setFocus();
}

void DownloadWizard::ShowDownloadState() {
    const instrument::DownloadView& view = session_->View();
    pbarDownload_->setMaximum(view.progress.maximum);
    pbarDownload_->setValue(view.progress.value);
    lblProgInfo_->setText(QString::fromStdString(view.progress.text));
    lblDoNotUse_->setVisible(view.doNotUseShown);
    lblDone_->setVisible(view.doneShown);
    lblNoData_->setVisible(view.noDataShown);
    SetCloseCaption(view.cancelCaption == sessionTexts::kCloseCaption);
}

} // namespace kestrix::gui

#include "kestrix/gui/wizards/IaqSetupWizard.h"

#include "kestrix/gui/common/ArchiveNotes.h"
#include "kestrix/instrument/DensitySession.h"
#include "kestrix/instrument/DensityValue.h"
#include "kestrix/instrument/sessionTexts.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/shell/userLocale.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrix::gui {
namespace {

const QString kWelcome = QStringLiteral(
    "Welcome to the IAQ instrument setup wizard!\n\n"
    "This wizard lets you view and reconfigure your instrument's IAQ related settings. These "
    "settings affect how the IAQ instrument calculates its mass concentration data.\n\n"
    "Click \"Next\" to continue with this wizard.\n\n"
    "Click \"Cancel\" if you do not want to view your IAQ instrument's settings.");

const PortAddressTexts kPortTexts{
    QStringLiteral("Connect your Orvenda IAQ instrument to an unused COM (serial) port on your "
                   "PC.  Select the COM port you are using below."),
    QStringLiteral("Select the instrument's communication address below.  If you do not know "
                   "this address, then select the <Auto-Detect> option.  (Auto-detect might take "
                   "about one minute to locate your instrument.)"),
    QStringLiteral("Please stop all actions on your instrument such as sampling and printing "
                   "before clicking the \"Next\" button.")};

const QString kIaqHint =
    QStringLiteral("Click the \"Next\" button to view the instrument's IAQ settings.");
const QString kNotIaqHint =
    QStringLiteral("This is not an IAQ instrument.\nPlease click \"Cancel\" to exit this wizard "
                   "or click \"Prev\" to choose a different instrument.");
const QString kUnits = QStringLiteral("grams / milliliter");

constexpr QChar kBlank = u'_';
QString DecimalSeparator() {
    return QString::fromStdString(GetDecimalSeparator());
}

// One digit, the locale's separator and three digits; a blank shows as '_'.
QString DensityMask() {
    return QStringLiteral("9\\") + DecimalSeparator() + QStringLiteral("999;") + kBlank;
}

// The box's text with what the user left blank read as zeros.
QString Completed(const QLineEdit& box) {
    return box.displayText().replace(kBlank, u'0');
}

double ValueOf(const QLineEdit& box) {
    return UserLocale().toDouble(Completed(box));
}

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    QLabel* label = MakeWrappedLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

// A value and its unit on one line.
QHBoxLayout* WithUnits(QWidget* value, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->addWidget(value);
    row->addWidget(new QLabel(kUnits, parent));
    row->addStretch(1);
    return row;
}

} // namespace

IaqSetupWizard::IaqSetupWizard(modConfig::ConfigStore& store, UserDialogs& dialogs, QWidget* parent)
    : ConnectingWizard(QStringLiteral("IAQ Setup Wizard"), store, dialogs, kPortTexts,
                       new IdentityPage(WizardText(sessionTexts::NotFoundText())), parent),
      session_(std::make_unique<instrument::DensitySession>()) {
    setObjectName(QStringLiteral("frmDlgIaqSetupWiz"));
    AddStep(MakeTextPage(QStringLiteral("lbl1Welcome"), kWelcome));
    AddStep(&PortPage());
    AddStep(&ConnectPage());
    AddStep(MakeDensityPage());
    AddStep(MakeWritePage());

    connect(chkChange_, &QCheckBox::clicked, this, &IaqSetupWizard::ApplyChangeChoice);
    instrument::DensitySession* session = session_.get();
    BindConnection(*session);
    connect(session, &instrument::DensitySession::IdentityShown, this, [this] {
        if (readingBack_) {
            readingBack_ = false;
            ShowInstrumentDensity();
            session_->PressButton(instrument::WizardButton::Prev);
        } else {
            ShowIdentity();
        }
    });
    connect(session, &instrument::DensitySession::WriteEnded, this,
            [this](instrument::DensityOutcome outcome) {
                if (outcome == instrument::DensityOutcome::Written) {
                    ShowWritten();
                } else if (outcome == instrument::DensityOutcome::NotSameInstrument) {
                    ShowStep(2);
                }
            });
}

IaqSetupWizard::~IaqSetupWizard() = default;

QWidget* IaqSetupWizard::MakeDensityPage() {
    auto* page = new QWidget;
    lblInstrumentDensity_ = NamedLabel("lbl4InstrumentDensityValue", QStringLiteral("0.000"), page);
    lblInstrumentDensity_->setWordWrap(false);
    lblInstrumentDensity_->setAccessibleName(QStringLiteral("Instrument density"));
    chkChange_ =
        new QCheckBox(QStringLiteral("Change the particle &density to the value below:"), page);
    chkChange_->setObjectName(QStringLiteral("chk4ChangeDensity"));
    txtNewDensity_ = new QLineEdit(page);
    txtNewDensity_->setObjectName(QStringLiteral("txt4NewDensityValue"));
    txtNewDensity_->setAccessibleName(QStringLiteral("New density"));
    txtNewDensity_->setInputMask(DensityMask());
    txtNewDensity_->setMaximumWidth(txtNewDensity_->fontMetrics().averageCharWidth() * 12);
    txtNewDensity_->installEventFilter(this);
    lblNextInfo_ = NamedLabel(
        "lbl4NextInfo",
        QStringLiteral("Click the \"Next\" button to upload the new density value."), page);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(NamedLabel(
        "lbl4InstrumentDensity",
        QStringLiteral("The instrument assumes that all particles have the following density:"),
        page));
    layout->addLayout(WithUnits(lblInstrumentDensity_, page));
    layout->addSpacing(layout->spacing() * 2);
    layout->addWidget(chkChange_);
    layout->addLayout(WithUnits(txtNewDensity_, page));
    layout->addSpacing(layout->spacing() * 2);
    layout->addWidget(lblNextInfo_);
    layout->addStretch(1);
    return page;
}

QWidget* IaqSetupWizard::MakeWritePage() {
    auto* page = new QWidget;
    lblDone_ = NamedLabel(
        "lbl5Done",
        QStringLiteral("The new density value has been successfully written to the instrument."),
        page);
    lblDownloadInfo_ = NamedLabel(
        "lbl5DownloadInfo",
        QStringLiteral("If you have already downloaded data from this instrument, then you'll "
                       "need to download the data again for this new density value to be applied "
                       "to the instrument's mass concentrations."),
        page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(NamedLabel(
        "lbl5Writing", QStringLiteral("Writing configuration into the instrument..."), page));
    layout->addSpacing(layout->spacing() * 2);
    layout->addWidget(lblDone_);
    layout->addWidget(lblDownloadInfo_);
    layout->addStretch(1);
    return page;
}

// Prev after a write reads the density back first, so the step shows what the instrument holds.
void IaqSetupWizard::OnPress(instrument::WizardButton button) {
    if (button == instrument::WizardButton::Prev && Step() == 5 && written_) {
        written_ = false;
        readingBack_ = true;
        session_->ReadIdentityAgain();
        return;
    }
    session_->PressButton(button);
}

void IaqSetupWizard::OnHidden() {
    session_->CloseConnections();
}

void IaqSetupWizard::EnterStep(int step, int previous) {
    if (EnterSharedStep(step, previous)) {
        return;
    }
    if (step == 4) {
        SetButtons({});
        ApplyChangeChoice();
    } else if (step == 5) {
        EnterWriteStep();
    }
}

// A new showing may meet another instrument: nothing typed for the last one is kept.
void IaqSetupWizard::Restart() {
    chkChange_->setChecked(false);
    txtNewDensity_->clear();
    written_ = false;
    readingBack_ = false;
    ConnectingWizard::Restart();
}

void IaqSetupWizard::ShowIdentity() {
    ConnectPage().ShowIdentity(session_->Identity(), session_->SlaveAddress(), std::nullopt);
    ShowInstrumentDensity();
    const bool iaq = session_->IsIaq();
    ConnectPage().SetHint(iaq ? kIaqHint : kNotIaqHint);
    ConnectPage().ShowIdentityLabels(true);
    NextButton()->setEnabled(iaq);
    if (iaq) {
        NextButton()->setFocus();
    }
}

// The instrument's density as last read; a change starts from it, unticked.
void IaqSetupWizard::ShowInstrumentDensity() {
    lblInstrumentDensity_->setText(QString::fromStdString(
        instrument::FormatDensity(session_->DensityRegister(), GetDecimalSeparator())));
    txtNewDensity_->setText(lblInstrumentDensity_->text());
    chkChange_->setChecked(false);
}

void IaqSetupWizard::ApplyChangeChoice() {
    const bool change = chkChange_->isChecked();
    txtNewDensity_->setEnabled(change);
    QPalette colours = txtNewDensity_->palette();
    colours.setColor(QPalette::Base, palette().color(change ? QPalette::Base : QPalette::Button));
    txtNewDensity_->setPalette(colours);
    lblNextInfo_->setVisible(change);
    NextButton()->setVisible(change);
    NextButton()->setEnabled(change);
    SetCloseCaption(!change);
}

void IaqSetupWizard::FillBlanks() {
    txtNewDensity_->setText(Completed(*txtNewDensity_));
}

bool IaqSetupWizard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtNewDensity_ && event->type() == QEvent::FocusOut) {
        FillBlanks();
    }
    return ConnectingWizard::eventFilter(watched, event);
}

void IaqSetupWizard::EnterWriteStep() {
    written_ = false;
    FillBlanks();
    SetButtons({.nextVisible = false, .nextEnabled = false});
    lblDone_->hide();
    lblDownloadInfo_->hide();
    if (!session_->StartWrite(ValueOf(*txtNewDensity_))) {
        ShowStep(4);
    }
}

void IaqSetupWizard::ShowWritten() {
    NoteInArchive(*this, dialogs_, store_.GetConfigPath(),
                  archive::DensityChangeNote(
                      session_->Identity().modelName, session_->Identity().serialNumber,
                      instrument::FormatDensity(session_->DensityRegister()),
                      instrument::FormatDensity(session_->WrittenRegister())));
    lblDone_->show();
    lblDownloadInfo_->show();
    SetCloseCaption(true);
    CancelButton()->setFocus();
    written_ = true;
}

} // namespace kestrix::gui

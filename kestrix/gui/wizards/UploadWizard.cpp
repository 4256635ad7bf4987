#include "kestrix/gui/wizards/UploadWizard.h"

#include "kestrix/gui/common/ArchiveNotes.h"
#include "kestrix/gui/common/HeaderSorting.h"
#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/instrument/UploadNames.h"
#include "kestrix/instrument/sessionTexts.h"
#include "kestrix/instrument/uploadTexts.h"
#include "kestrix/shell/locationNameKeys.h"
#include "kestrix/shell/modConfig.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::gui {
namespace {

const QString kWelcome =
    QStringLiteral("Welcome to the location name upload wizard!\n\n"
                   "This wizard helps you upload alphanumerical location names from your "
                   "computer to your Orvenda particle counter.");

const QString kReviewHint = QStringLiteral(
    "Click the \"Next\" button to review the location names you are about to upload to the "
    "instrument.");
const QString kCannotUploadHint = QStringLiteral(
    "This instrument does not support alphanumeric location names.  Please click \"Cancel\" to "
    "exit this wizard or click \"Prev\" to choose a different instrument.");
const QString kReviewText = QStringLiteral(
    "The short names shown in the list below will be uploaded to your instrument.  Please click "
    "the \"NEXT\" button to upload the names to the instrument.");

constexpr int kShortNameColumn = 1;

// A name the upload would refuse shows why before the user is asked anything.
void MarkProblem(QTreeWidgetItem& row, instrument::UploadNameProblem problem) {
    if (problem == instrument::UploadNameProblem::None) {
        return;
    }
    const QString why =
        problem == instrument::UploadNameProblem::Repeated
            ? QStringLiteral("Another location has this name: names must be unique.")
            : QStringLiteral("Only uppercase letters A-Z, numbers and underscores can be "
                             "uploaded.");
    row.setIcon(kShortNameColumn,
                QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
    for (int column = 0; column < row.columnCount(); ++column) {
        row.setToolTip(column, why);
    }
}

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    QLabel* label = MakeWrappedLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

UploadWizard::UploadWizard(modConfig::ConfigStore& store, UserDialogs& dialogs, QWidget* parent)
    : ConnectingWizard(QStringLiteral("Location Name Upload Wizard"), store, dialogs,
                       ParticleCounterPortTexts(),
                       new IdentityPage(WizardText(sessionTexts::NotFoundText()),
                                        QStringLiteral("# of Locations:"), "lbl3Locations"),
                       parent),
      session_(std::make_unique<instrument::UploadSession>()) {
    setObjectName(QStringLiteral("frmDlgUploadWiz"));
    AddStep(MakeTextPage(QStringLiteral("lbl1Welcome"), kWelcome));
    AddStep(&PortPage());
    AddStep(&ConnectPage());
    AddStep(MakeReviewPage());
    AddStep(MakeUploadPage());

    instrument::UploadSession* session = session_.get();
    BindConnection(*session);
    connect(session, &instrument::UploadSession::NameCountShown, this,
            &UploadWizard::ShowNameCount);
    connect(session, &instrument::UploadSession::QuestionAsked, this,
            [this](const std::string& title, const std::string& text) {
                AskLater(title, text, [this](bool yes) { session_->AnswerQuestion(yes); });
            });
    connect(session, &instrument::UploadSession::UploadProgressChanged, this,
            &UploadWizard::ShowUploadState);
    connect(session, &instrument::UploadSession::UploadEnded, this, &UploadWizard::EndUpload);
}

UploadWizard::~UploadWizard() = default;

QWidget* UploadWizard::MakeReviewPage() {
    auto* page = new QWidget;
    lstNames_ = new QTreeWidget(page);
    lstNames_->setObjectName(QStringLiteral("lst4LocationNames"));
    lstNames_->setAccessibleName(QStringLiteral("Location names to upload"));
    lstNames_->setHeaderLabels({QStringLiteral("Number"), QStringLiteral("Short Names")});
    lstNames_->setRootIsDecorated(false);
    lstNames_->setUniformRowHeights(true);
    lstNames_->setAllColumnsShowFocus(true);
    sorting_ = new HeaderSorting(*lstNames_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(NamedLabel("lbl4ChooseNames", kReviewText, page));
    layout->addWidget(lstNames_, 1);
    return page;
}

QWidget* UploadWizard::MakeUploadPage() {
    auto* page = new QWidget;
    pbarUpload_ = new QProgressBar(page);
    pbarUpload_->setObjectName(QStringLiteral("pbar5Upload"));
    pbarUpload_->setAccessibleName(QStringLiteral("Uploading location names"));
    pbarUpload_->setTextVisible(false);
    lblProgInfo_ = NamedLabel("lbl5ProgInfo", {}, page);
    lblDoNotUse_ = NamedLabel("lbl5DoNotDoAnything", WizardText(uploadTexts::kDoNotUseText), page);
    lblDone_ = NamedLabel("lbl5Done", WizardText(uploadTexts::DoneText()), page);
    lblNoLocations_ =
        NamedLabel("lbl5NoLocations", QString::fromUtf8(uploadTexts::kNoLocationsText), page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(
        NamedLabel("lbl5Uploading", QStringLiteral("Uploading Location Names..."), page));
    for (QWidget* widget : {static_cast<QWidget*>(pbarUpload_), static_cast<QWidget*>(lblProgInfo_),
                            static_cast<QWidget*>(lblDoNotUse_), static_cast<QWidget*>(lblDone_),
                            static_cast<QWidget*>(lblNoLocations_)}) {
        layout->addWidget(widget);
    }
    layout->addStretch(1);
    return page;
}

void UploadWizard::OnHidden() {
    session_->CloseConnections();
}

// Nothing on the instrument is overwritten before the user says so, and the question is not
// asked for names that would be refused.
void UploadWizard::OnPress(instrument::WizardButton button) {
    if (button == instrument::WizardButton::Next && Step() == 4 && !session_->IsBusy() &&
        (!NamesCanBeUploaded() || !AskNow(QString::fromUtf8(uploadTexts::kOverwriteTitle),
                                          WizardText(uploadTexts::OverwriteQuestion())))) {
        return;
    }
    session_->PressButton(button);
}

bool UploadWizard::NamesCanBeUploaded() {
    const auto prepared = instrument::PrepareUploadNames(ShortNames(), session_->NameCount());
    const auto* rejection = std::get_if<instrument::NameRejection>(&prepared);
    if (rejection != nullptr) {
        dialogs_.Message(this, {WizardText(rejection->text),
                                QString::fromStdString(rejection->title),
                                QMessageBox::Warning,
                                QMessageBox::Ok,
                                {}});
    }
    return rejection == nullptr;
}

std::vector<std::string> UploadWizard::ShortNames() const {
    std::vector<std::string> shortNames;
    shortNames.reserve(modConfig::kLocationCount);
    for (int index = 0; index < modConfig::kLocationCount; ++index) {
        shortNames.push_back(store_.GetShortLocationName(index));
    }
    return shortNames;
}

void UploadWizard::EnterStep(int step, int previous) {
    if (EnterSharedStep(step, previous)) {
        return;
    }
    if (step == 4) {
        SetButtons({});
        FillNameList();
    } else if (step == 5) {
        EnterUploadStep();
    }
}

void UploadWizard::ShowNameCount(int count, bool canUpload) {
    ConnectPage().ShowIdentity(session_->Identity(), session_->SlaveAddress(), count);
    ConnectPage().SetHint(canUpload ? kReviewHint : kCannotUploadHint);
    ConnectPage().ShowIdentityLabels(true);
    NextButton()->setEnabled(canUpload);
    if (canUpload) {
        NextButton()->setFocus();
    }
}

void UploadWizard::FillNameList() {
    lstNames_->clear();
    const std::vector<instrument::UploadNameProblem> problems =
        instrument::FindUploadNameProblems(ShortNames(), session_->NameCount());
    QList<QTreeWidgetItem*> rows;
    for (int index = 1; index <= session_->NameCount(); ++index) {
        auto* row =
            new QTreeWidgetItem({QString::fromStdString(locationNames::ThreeDigitKey(index)),
                                 QString::fromStdString(store_.GetShortLocationName(index))});
        row->setData(0, Qt::UserRole, index);
        MarkProblem(*row, problems[static_cast<std::size_t>(index)]);
        rows.append(row);
    }
    lstNames_->addTopLevelItems(rows);
    sorting_->Sort();
    lstNames_->setCurrentItem(lstNames_->topLevelItem(0));
    if (lstNames_->currentItem()) {
        lstNames_->scrollToItem(lstNames_->currentItem());
    }
    lstNames_->resizeColumnToContents(kShortNameColumn);
}

void UploadWizard::EnterUploadStep() {
    SetButtons({.nextVisible = false, .nextEnabled = false});
    session_->StartUpload(ShortNames());
}

void UploadWizard::ShowUploadState(const instrument::UploadView& view) {
    pbarUpload_->setMaximum(view.maximum);
    pbarUpload_->setValue(view.value);
    lblProgInfo_->setText(QString::fromStdString(view.progressText));
    lblDoNotUse_->setVisible(view.doNotUseShown);
    lblDone_->setVisible(view.doneShown);
    lblNoLocations_->setVisible(view.noLocationsShown);
    SetCloseCaption(view.cancelCaption == sessionTexts::kCloseCaption);
}

void UploadWizard::EndUpload(instrument::UploadOutcome outcome) {
    switch (outcome) {
    case instrument::UploadOutcome::Finished:
        NoteInArchive(*this, dialogs_, store_.GetConfigPath(),
                      archive::NameUploadNote(session_->Identity().modelName,
                                              session_->Identity().serialNumber,
                                              session_->NameCount()));
        CancelButton()->setFocus();
        return;
    case instrument::UploadOutcome::NoLocations:
        CancelButton()->setFocus();
        return;
    case instrument::UploadOutcome::InvalidName:
    case instrument::UploadOutcome::RepeatedName:
        return ShowStep(4);
    case instrument::UploadOutcome::NotSameInstrument:
        return ShowStep(2);
    case instrument::UploadOutcome::LostCommunication:
    case instrument::UploadOutcome::Cancelled:
        return; // the session has moved the wizard
    }
}

} // namespace kestrix::gui

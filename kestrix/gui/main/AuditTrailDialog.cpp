#include "kestrix/gui/main/AuditTrailDialog.h"

#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/auditTrailGrid.h"
#include "kestrix/archive/chainHead.h"
#include "kestrix/archive/eventListing.h"
#include "kestrix/gui/common/ArchiveAccess.h"
#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/table/GridModel.h"
#include "kestrix/table/print/TablePrinter.h"

#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <set>

namespace kestrix::gui {
namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The edits show whole seconds; a bound covers its whole second.
QDateTime WholeSecond(QDateTime time) {
    time.setTime(QTime(time.time().hour(), time.time().minute(), time.time().second()));
    return time;
}

QDateTimeEdit* NewBoundEdit(const QString& name, const QString& accessibleName, QWidget* parent) {
    auto* edit = new QDateTimeEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    edit->setCalendarPopup(true);
    return edit;
}

QComboBox* NewChoiceBox(const QString& name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

// "All" first, then the texts in order; each item's data is what it chooses.
void FillBox(QComboBox& box, const std::set<std::string>& texts) {
    box.addItem(QObject::tr("All"));
    for (const std::string& text : texts) {
        box.addItem(Text(text), Text(text));
    }
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

} // namespace

AuditTrailDialog::AuditTrailDialog(std::vector<archive::EventEntry> events, std::string place,
                                   VerifyChain verify, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), events_(std::move(events)), place_(std::move(place)),
      verify_(std::move(verify)), dialogs_(dialogs),
      txtFrom_(NewBoundEdit(QStringLiteral("txtFrom"), tr("From"), this)),
      txtTo_(NewBoundEdit(QStringLiteral("txtTo"), tr("To"), this)),
      cboUser_(NewChoiceBox(QStringLiteral("cboUser"), this)),
      cboKind_(NewChoiceBox(QStringLiteral("cboKind"), this)),
      cboInstrument_(NewChoiceBox(QStringLiteral("cboInstrument"), this)),
      lstEvents_(new QTreeWidget(this)), lblCount_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmDlgAuditTrail"));
    setWindowTitle(tr("Audit Trail"));
    archive::SortByTime(events_);
    lstEvents_->setObjectName(QStringLiteral("lstEvents"));
    lstEvents_->setAccessibleName(tr("Events"));
    lstEvents_->setRootIsDecorated(false);
    QStringList headings;
    for (const std::string& heading : archive::EventHeadings()) {
        headings << tr(heading.c_str());
    }
    lstEvents_->setHeaderLabels(headings);
    lblCount_->setObjectName(QStringLiteral("lblCount"));
    FillChoices();

    auto* layout = new QVBoxLayout(this);
    auto* archivePlace = new QLabel(tr("Archive: %1").arg(Text(place_)), this);
    archivePlace->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(archivePlace);
    layout->addLayout(MakeFilterBar());
    layout->addWidget(lstEvents_, 1);
    layout->addWidget(lblCount_);
    layout->addWidget(MakeChainBox());
    layout->addWidget(MakeButtons());
    ShowEvents();
    FitToEvents();
    // The list is what the window is for; a time edit with focus would show a selected year.
    lstEvents_->setFocus();

    for (QDateTimeEdit* edit : {txtFrom_, txtTo_}) {
        connect(edit, &QDateTimeEdit::dateTimeChanged, this, &AuditTrailDialog::ShowEvents);
    }
    for (QComboBox* box : {cboUser_, cboKind_, cboInstrument_}) {
        connect(box, &QComboBox::currentIndexChanged, this, &AuditTrailDialog::ShowEvents);
    }
}

QLayout* AuditTrailDialog::MakeFilterBar() {
    auto* bar = new QHBoxLayout;
    bar->addWidget(BuddyLabel(tr("&From:"), txtFrom_));
    bar->addWidget(txtFrom_);
    bar->addWidget(BuddyLabel(tr("&To:"), txtTo_));
    bar->addWidget(txtTo_);
    bar->addSpacing(12);
    bar->addWidget(BuddyLabel(tr("&User:"), cboUser_));
    bar->addWidget(cboUser_);
    bar->addWidget(BuddyLabel(tr("&Kind:"), cboKind_));
    bar->addWidget(cboKind_);
    bar->addWidget(BuddyLabel(tr("I&nstrument:"), cboInstrument_));
    bar->addWidget(cboInstrument_);
    bar->addStretch(1);
    return bar;
}

QWidget* AuditTrailDialog::MakeChainBox() {
    auto* box = new QGroupBox(tr("Chain of the audit trail"), this);
    txtKeptHead_ = new QLineEdit(box);
    txtKeptHead_->setObjectName(QStringLiteral("txtKeptHead"));
    txtKeptHead_->setPlaceholderText(tr("optional: a head kept earlier, event N sha256:HEX"));
    cmdVerify_ = new QPushButton(tr("&Verify"), box);
    cmdVerify_->setObjectName(QStringLiteral("cmdVerify"));
    lblVerdict_ = new QLabel(tr("Not verified yet."), box);
    lblVerdict_->setObjectName(QStringLiteral("lblVerdict"));
    lblVerdict_->setWordWrap(true);
    lblVerdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    txtHead_ = new QLineEdit(box);
    txtHead_->setObjectName(QStringLiteral("txtHead"));
    txtHead_->setReadOnly(true);
    cmdCopy_ = new QPushButton(tr("&Copy"), box);
    cmdCopy_->setObjectName(QStringLiteral("cmdCopy"));
    cmdCopy_->setEnabled(false);

    auto* kept = new QHBoxLayout;
    kept->addWidget(txtKeptHead_, 1);
    kept->addWidget(cmdVerify_);
    auto* head = new QHBoxLayout;
    head->addWidget(txtHead_, 1);
    head->addWidget(cmdCopy_);
    auto* form = new QFormLayout(box);
    form->addRow(BuddyLabel(tr("Kept h&ead:"), txtKeptHead_), kept);
    form->addRow(tr("State:"), lblVerdict_);
    form->addRow(BuddyLabel(tr("Head to &keep:"), txtHead_), head);
    connect(cmdVerify_, &QPushButton::clicked, this, &AuditTrailDialog::Verify);
    connect(cmdCopy_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(txtHead_->text()); });
    return box;
}

QWidget* AuditTrailDialog::MakeButtons() {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    cmdPrint_ = buttons->addButton(tr("&Print..."), QDialogButtonBox::ActionRole);
    cmdPrint_->setObjectName(QStringLiteral("cmdPrint"));
    cmdSavePdf_ = buttons->addButton(tr("Save P&DF..."), QDialogButtonBox::ActionRole);
    cmdSavePdf_->setObjectName(QStringLiteral("cmdSavePdf"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cmdPrint_, &QPushButton::clicked, this, &AuditTrailDialog::Print);
    connect(cmdSavePdf_, &QPushButton::clicked, this, &AuditTrailDialog::SavePdf);
    return buttons;
}

void AuditTrailDialog::FillChoices() {
    std::set<std::string> users;
    std::set<std::string> kinds;
    std::set<std::pair<std::string, std::int32_t>> instruments;
    for (const archive::EventEntry& entry : events_) {
        users.insert(entry.event.userName);
        kinds.insert(entry.event.kind);
        if (!entry.model.empty()) {
            instruments.emplace(entry.model, entry.serial);
        }
    }
    FillBox(*cboUser_, users);
    FillBox(*cboKind_, kinds);
    cboInstrument_->addItem(tr("All"));
    for (const auto& [model, serial] : instruments) {
        cboInstrument_->addItem(Text(archive::InstrumentText(model, serial)),
                                QVariantList{Text(model), serial});
    }
    // From the first event to the last, so that every event is shown at first.
    const QDateTime now = QDateTime::currentDateTime();
    const auto time = [&](std::size_t i) {
        const QDateTime at = archive::EventInstant(events_[i].event.happenedAt).toLocalTime();
        return WholeSecond(at.isValid() ? at : now);
    };
    txtFrom_->setDateTime(events_.empty() ? WholeSecond(now) : time(0));
    txtTo_->setDateTime(events_.empty() ? WholeSecond(now) : time(events_.size() - 1));
}

archive::EventFilter AuditTrailDialog::Filter() const {
    archive::EventFilter filter;
    filter.user = cboUser_->currentData().toString().toStdString();
    filter.kind = cboKind_->currentData().toString().toStdString();
    if (const QVariantList instrument = cboInstrument_->currentData().toList();
        instrument.size() == 2) {
        filter.model = instrument[0].toString().toStdString();
        filter.serial = instrument[1].toInt();
    }
    filter.from = WholeSecond(txtFrom_->dateTime());
    filter.to = WholeSecond(txtTo_->dateTime()).addMSecs(999);
    return filter;
}

void AuditTrailDialog::ShowEvents() {
    shown_ = archive::FilterEvents(events_, Filter());
    lstEvents_->clear();
    for (const archive::EventEntry& entry : shown_) {
        QStringList texts;
        for (const std::string& cell : archive::EventCells(entry)) {
            texts << Text(cell);
        }
        auto* item = new QTreeWidgetItem(lstEvents_, texts);
        item->setToolTip(archive::kEventDetails, Text(entry.event.details));
    }
    lblCount_->setText(tr("%1 of %2 events").arg(shown_.size()).arg(events_.size()));
}

void AuditTrailDialog::FitToEvents() {
    for (int column = 0; column < lstEvents_->columnCount(); ++column) {
        lstEvents_->resizeColumnToContents(column);
    }
    // Every column shown whole, up to most of the screen.
    const int wholeWidth = lstEvents_->header()->length() + 2 * lstEvents_->frameWidth() +
                           lstEvents_->verticalScrollBar()->sizeHint().width();
    lstEvents_->setMinimumWidth(
        std::min(wholeWidth, screen()->availableGeometry().width() * 9 / 10));
}

void AuditTrailDialog::Verify() {
    std::optional<archive::ChainHead> kept;
    if (const QString given = txtKeptHead_->text().trimmed(); !given.isEmpty()) {
        kept = archive::FindChainHead(given.toStdString());
        if (!kept) {
            ShowVerdict(tr("The kept head is no head such as event 12 sha256:HEX."), true);
            return;
        }
    }
    std::optional<archive::VerifyResult> result;
    try {
        result = verify_(kept);
    } catch (const archive::ArchiveError& error) {
        TellArchiveFailed(this, dialogs_, error.what());
        return;
    }
    if (!result->intact) {
        ShowVerdict(tr("Damaged: %1").arg(Text(result->problem)), true);
        return;
    }
    ShowVerdict(tr("Intact: %1 events and %2 records checked%3.")
                    .arg(result->events)
                    .arg(result->records)
                    .arg(kept ? tr(", the kept head included") : QString()),
                false);
    txtHead_->setText(Text(archive::FormatChainHead(result->head)));
    cmdCopy_->setEnabled(true);
}

void AuditTrailDialog::ShowVerdict(const QString& text, bool damaged) {
    lblVerdict_->setText(text);
    lblVerdict_->setStyleSheet(damaged ? QStringLiteral("color: darkred; font-weight: bold")
                                       : QString());
    if (damaged) {
        txtHead_->clear();
        cmdCopy_->setEnabled(false);
    }
}

void AuditTrailDialog::LayOut(table::GridModel& grid) const {
    archive::LayOutAuditTrail(
        {place_, Filter(), shown_, events_.size(), QDateTime::currentDateTime()}, grid);
}

void AuditTrailDialog::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!dialogs_.ChoosePrinter(this, printer)) {
        return;
    }
    table::GridModel grid;
    LayOut(grid);
    if (!table::PrintTable(grid, printer)) {
        TellArchiveProblem(this, dialogs_, tr("The audit trail could not be printed."), {});
    }
}

void AuditTrailDialog::SavePdf() {
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.title = tr("Save Audit Trail as PDF");
    request.filters = {tr("PDF File (*.pdf)")};
    request.suffixes = {QStringLiteral("pdf")};
    const FileChoice choice = dialogs_.ChooseFile(this, request);
    if (choice.Cancelled()) {
        return;
    }
    table::GridModel grid;
    LayOut(grid);
    std::string error;
    if (!table::PrintTableToPdf(grid, choice.path.toStdString(), error)) {
        TellArchiveProblem(this, dialogs_, tr("The audit trail cannot be saved as PDF."), error);
    }
}

} // namespace kestrix::gui

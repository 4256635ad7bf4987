#include "kestrix/gui/main/ArchiveDialog.h"

#include "kestrix/data/isoDateTime.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::gui {
namespace {

QDateTime ToQDateTime(base::DateTime value) {
    const base::CivilDateTime civil = base::ToCivilDateTime(value);
    return {QDate(civil.year, civil.month, civil.day),
            QTime(civil.hour, civil.minute, civil.second, civil.millisecond)};
}

base::DateTime FromQDateTime(const QDateTime& value) {
    const QDate date = value.date();
    const QTime time = value.time();
    return base::MakeDateTime(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                              time.second() + time.msec() / 1000.0);
}

QString TimeText(const std::optional<base::DateTime>& value) {
    return value ? QString::fromStdString(data::FormatIsoDateTime(*value)).replace('T', ' ')
                 : QStringLiteral("-");
}

QDateTimeEdit* NewTimeEdit(const QString& name, QWidget* parent) {
    auto* edit = new QDateTimeEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    edit->setCalendarPopup(true);
    return edit;
}

// Every column shown whole, for as many instruments as a site has.
int ContentWidth(QTreeWidget& list) {
    int width = 2 * list.frameWidth();
    for (int column = 0; column < list.columnCount(); ++column) {
        list.resizeColumnToContents(column);
        width += list.columnWidth(column);
    }
    return width;
}

} // namespace

ArchiveDialog::ArchiveDialog(std::vector<archive::InstrumentSummary> instruments, QWidget* parent)
    : QDialog(parent), instruments_(std::move(instruments)), lstInstruments_(new QTreeWidget(this)),
      txtFrom_(NewTimeEdit("txtFrom", this)), txtTo_(NewTimeEdit("txtTo", this)),
      lstLocations_(new QListWidget(this)) {
    setObjectName(QStringLiteral("frmDlgArchive"));
    setWindowTitle(tr("Open from Archive"));

    lstInstruments_->setObjectName(QStringLiteral("lstInstruments"));
    lstInstruments_->setAccessibleName(tr("Instruments"));
    lstInstruments_->setRootIsDecorated(false);
    lstInstruments_->setHeaderLabels(
        {tr("Model"), tr("Serial #"), tr("Records"), tr("Downloads"), tr("First"), tr("Last")});
    for (const archive::InstrumentSummary& summary : instruments_) {
        auto* item = new QTreeWidgetItem(
            lstInstruments_,
            {QString::fromStdString(summary.model), QString::number(summary.serial),
             QString::number(summary.records), QString::number(summary.downloads),
             TimeText(summary.first), TimeText(summary.last)});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
    lstInstruments_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstInstruments_->setMinimumWidth(ContentWidth(*lstInstruments_));
    txtFrom_->setAccessibleName(tr("From"));
    txtTo_->setAccessibleName(tr("To"));
    lstLocations_->setObjectName(QStringLiteral("lstLocations"));
    lstLocations_->setAccessibleName(tr("Locations"));

    auto* range = new QFormLayout;
    range->addRow(tr("&From:"), txtFrom_);
    range->addRow(tr("&To:"), txtTo_);
    range->addRow(tr("&Locations:"), lstLocations_);
    range->addRow(QString(), MakeCheckAllButtons());

    auto* buttons = new QDialogButtonBox(this);
    cmdOpen_ = buttons->addButton(tr("&Open"), QDialogButtonBox::AcceptRole);
    cmdOpen_->setObjectName(QStringLiteral("cmdOpen"));
    cmdOpen_->setDefault(true);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(lstInstruments_, &QTreeWidget::currentItemChanged, this,
            [this] { ShowInstrument(lstInstruments_->currentIndex().row()); });
    connect(txtFrom_, &QDateTimeEdit::dateTimeChanged, this, &ArchiveDialog::UpdateOpenButton);
    connect(txtTo_, &QDateTimeEdit::dateTimeChanged, this, &ArchiveDialog::UpdateOpenButton);
    connect(lstLocations_, &QListWidget::itemChanged, this, &ArchiveDialog::UpdateOpenButton);

    auto* layout = new QVBoxLayout(this);
    auto* instrumentsLabel = new QLabel(tr("&Instruments:"), this);
    instrumentsLabel->setBuddy(lstInstruments_);
    layout->addWidget(instrumentsLabel);
    layout->addWidget(lstInstruments_, 1);
    layout->addLayout(range);
    layout->addWidget(buttons);
    if (!instruments_.empty()) {
        lstInstruments_->setCurrentItem(lstInstruments_->topLevelItem(0));
    }
    UpdateOpenButton();
    resize(sizeHint());
}

QWidget* ArchiveDialog::MakeCheckAllButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* all = new QPushButton(tr("Select &All"), row);
    all->setObjectName(QStringLiteral("cmdSelectAll"));
    auto* none = new QPushButton(tr("Select &None"), row);
    none->setObjectName(QStringLiteral("cmdSelectNone"));
    connect(all, &QPushButton::clicked, this, [this] { CheckEveryLocation(Qt::Checked); });
    connect(none, &QPushButton::clicked, this, [this] { CheckEveryLocation(Qt::Unchecked); });
    layout->addWidget(all);
    layout->addWidget(none);
    layout->addStretch(1);
    return row;
}

void ArchiveDialog::CheckEveryLocation(Qt::CheckState state) {
    {
        const QSignalBlocker quiet(lstLocations_);
        for (int i = 0; i < lstLocations_->count(); ++i) {
            lstLocations_->item(i)->setCheckState(state);
        }
    }
    UpdateOpenButton();
}

void ArchiveDialog::ShowInstrument(int row) {
    if (row < 0 || row >= static_cast<int>(instruments_.size())) {
        return;
    }
    const archive::InstrumentSummary& summary = instruments_[static_cast<std::size_t>(row)];
    txtFrom_->setDateTime(ToQDateTime(summary.first.value_or(base::CurrentLocalDateTime())));
    txtTo_->setDateTime(ToQDateTime(summary.last.value_or(base::CurrentLocalDateTime())));
    lstLocations_->clear();
    for (std::size_t i = 0; i < summary.locations.size(); ++i) {
        auto* item =
            new QListWidgetItem(QString::fromStdString(summary.locationNames[i]), lstLocations_);
        item->setData(Qt::UserRole, summary.locations[i]);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
}

void ArchiveDialog::UpdateOpenButton() {
    bool someLocation = lstLocations_->count() == 0;
    for (int i = 0; i < lstLocations_->count() && !someLocation; ++i) {
        someLocation = lstLocations_->item(i)->checkState() == Qt::Checked;
    }
    cmdOpen_->setEnabled(lstInstruments_->currentItem() != nullptr && someLocation &&
                         txtFrom_->dateTime() <= txtTo_->dateTime());
}

archive::RecordQuery ArchiveDialog::Choice() const {
    archive::RecordQuery query;
    const int row = lstInstruments_->currentIndex().row();
    if (row >= 0 && row < static_cast<int>(instruments_.size())) {
        query.serial = instruments_[static_cast<std::size_t>(row)].serial;
        query.model = instruments_[static_cast<std::size_t>(row)].model;
    }
    query.from = FromQDateTime(txtFrom_->dateTime());
    query.to = FromQDateTime(txtTo_->dateTime());
    bool everyLocation = true;
    for (int i = 0; i < lstLocations_->count(); ++i) {
        const QListWidgetItem* item = lstLocations_->item(i);
        if (item->checkState() == Qt::Checked) {
            query.locations.push_back(item->data(Qt::UserRole).toInt());
        } else {
            everyLocation = false;
        }
    }
    if (everyLocation) {
        query.locations.clear();
    }
    return query;
}

} // namespace kestrix::gui

#include "kestrix/gui/main/InstrumentsDialog.h"

#include <QColor>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::gui {
namespace {

enum Column { kModel, kSerial, kRecords, kCertificate, kCalibrated, kDue, kColumnCount };

// A calibration lasts a year unless the certificate says otherwise.
constexpr int kUsualCalibrationYears = 1;

QDateEdit* NewDateEdit(const QString& name, QWidget* parent) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    return edit;
}

QString DateText(const std::optional<archive::Calibration>& calibration,
                 QDate archive::Calibration::*date) {
    return calibration
               ? QString::fromStdString(archive::FormatCalibrationDate((*calibration).*date))
               : QStringLiteral("-");
}

} // namespace

InstrumentsDialog::InstrumentsDialog(std::vector<archive::InstrumentCalibration> rows, QDate today,
                                     KeepCalibration keep, QWidget* parent)
    : QDialog(parent), rows_(std::move(rows)), today_(today), keep_(std::move(keep)),
      lstInstruments_(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("frmDlgInstruments"));
    setWindowTitle(tr("Instruments"));
    lstInstruments_->setObjectName(QStringLiteral("lstInstruments"));
    lstInstruments_->setAccessibleName(tr("Instruments"));
    lstInstruments_->setRootIsDecorated(false);
    lstInstruments_->setHeaderLabels({tr("Model"), tr("Serial #"), tr("Records"), tr("Certificate"),
                                      tr("Calibrated"), tr("Due")});
    lstInstruments_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ShowRows();
    // Every column shown whole: the calibration's columns are the ones looked for.
    for (int column = 0; column < kColumnCount; ++column) {
        lstInstruments_->resizeColumnToContents(column);
    }
    lstInstruments_->setMinimumWidth(lstInstruments_->header()->length() +
                                     2 * lstInstruments_->frameWidth());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstInstruments_, 1);
    layout->addWidget(MakeCalibrationBox());
    layout->addWidget(buttons);

    connect(lstInstruments_, &QTreeWidget::currentItemChanged, this, [this] {
        ShowCalibration(lstInstruments_->indexOfTopLevelItem(lstInstruments_->currentItem()));
    });
    if (!rows_.empty()) {
        lstInstruments_->setCurrentItem(lstInstruments_->topLevelItem(0));
    }
    UpdateKeepButton();
}

QWidget* InstrumentsDialog::MakeCalibrationBox() {
    auto* box = new QGroupBox(tr("Calibration of the chosen instrument"), this);
    txtCertificate_ = new QLineEdit(box);
    txtCertificate_->setObjectName(QStringLiteral("txtCertificate"));
    txtCertificate_->setMaxLength(static_cast<int>(archive::kMaxCertificateLength));
    txtDate_ = NewDateEdit(QStringLiteral("txtCalibrated"), box);
    txtDue_ = NewDateEdit(QStringLiteral("txtDue"), box);
    cmdKeep_ = new QPushButton(tr("&Keep Calibration"), box);
    cmdKeep_->setObjectName(QStringLiteral("cmdKeep"));
    auto* form = new QFormLayout(box);
    form->addRow(tr("&Certificate:"), txtCertificate_);
    form->addRow(tr("Cali&brated on:"), txtDate_);
    form->addRow(tr("D&ue on:"), txtDue_);
    form->addRow(QString(), cmdKeep_);
    connect(txtCertificate_, &QLineEdit::textChanged, this, &InstrumentsDialog::UpdateKeepButton);
    connect(txtDate_, &QDateEdit::dateChanged, this, &InstrumentsDialog::UpdateKeepButton);
    connect(txtDue_, &QDateEdit::dateChanged, this, &InstrumentsDialog::UpdateKeepButton);
    connect(cmdKeep_, &QPushButton::clicked, this, &InstrumentsDialog::Keep);
    return box;
}

void InstrumentsDialog::ShowRows() {
    lstInstruments_->clear();
    for (const archive::InstrumentCalibration& row : rows_) {
        const std::string warning = archive::CalibrationWarning(row.calibration, today_);
        auto* item = new QTreeWidgetItem(
            lstInstruments_,
            {QString::fromStdString(row.instrument.model), QString::number(row.instrument.serial),
             QString::number(row.instrument.records),
             row.calibration ? QString::fromStdString(row.calibration->certificate)
                             : QStringLiteral("-"),
             DateText(row.calibration, &archive::Calibration::date),
             DateText(row.calibration, &archive::Calibration::due)});
        item->setTextAlignment(kRecords, Qt::AlignRight | Qt::AlignVCenter);
        if (row.calibration && !warning.empty()) {
            item->setForeground(kDue, QColor(Qt::darkRed));
            item->setIcon(kDue, style()->standardIcon(QStyle::SP_MessageBoxWarning));
        }
        for (int column = 0; column < kColumnCount; ++column) {
            item->setToolTip(column, QString::fromStdString(warning));
        }
    }
}

void InstrumentsDialog::ShowCalibration(int row) {
    if (row < 0) {
        return;
    }
    const std::optional<archive::Calibration>& calibration = rows_[row].calibration;
    txtCertificate_->setText(calibration ? QString::fromStdString(calibration->certificate)
                                         : QString());
    txtDate_->setDate(calibration ? calibration->date : today_);
    txtDue_->setDate(calibration ? calibration->due : today_.addYears(kUsualCalibrationYears));
    UpdateKeepButton();
}

void InstrumentsDialog::UpdateKeepButton() {
    cmdKeep_->setEnabled(lstInstruments_->currentItem() != nullptr &&
                         !txtCertificate_->text().trimmed().isEmpty() &&
                         txtDate_->date() <= txtDue_->date());
}

void InstrumentsDialog::Keep() {
    const int row = lstInstruments_->indexOfTopLevelItem(lstInstruments_->currentItem());
    const archive::Calibration calibration{txtCertificate_->text().trimmed().toStdString(),
                                           txtDate_->date(), txtDue_->date()};
    std::optional<std::vector<archive::InstrumentCalibration>> kept =
        keep_(rows_[row].instrument, calibration);
    if (!kept) {
        return;
    }
    rows_ = std::move(*kept);
    ShowRows();
    lstInstruments_->setCurrentItem(lstInstruments_->topLevelItem(row));
}

} // namespace kestrix::gui

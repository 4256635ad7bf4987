#include "kestrix/gui/cleanroom/DataChecksPane.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrix::gui {

namespace {

enum Column { kRecordColumn, kKindColumn, kMessageColumn, kColumnCount };

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

DataChecksPane::DataChecksPane(QWidget* parent)
    : QDockWidget(tr("Data Checks"), parent), summary_(new QLabel), list_(new QTableWidget) {
    setObjectName(QStringLiteral("dockDataChecks"));
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    list_->setObjectName(QStringLiteral("lstDataChecks"));
    list_->setAccessibleName(tr("Data Checks"));
    list_->setColumnCount(kColumnCount);
    list_->setHorizontalHeaderLabels({tr("Record"), tr("Check"), tr("Finding")});
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setWordWrap(false);
    list_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(list_);
    setWidget(content);
    connect(list_, &QTableWidget::itemActivated, this, [this](QTableWidgetItem* item) {
        emit RecordActivated(list_->item(item->row(), kRecordColumn)->data(Qt::UserRole).toInt());
    });
    ShowFindings({}, false);
}

void DataChecksPane::ShowFindings(const std::vector<cleanroom::DataFinding>& findings,
                                  bool hasRecords) {
    list_->setRowCount(0);
    list_->setRowCount(static_cast<int>(findings.size()));
    for (int row = 0; row < list_->rowCount(); ++row) {
        const cleanroom::DataFinding& finding = findings[static_cast<std::size_t>(row)];
        QTableWidgetItem* record = ReadOnlyItem(QString::number(finding.recordIndex + 1));
        record->setData(Qt::UserRole, finding.recordIndex);
        record->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        list_->setItem(row, kRecordColumn, record);
        list_->setItem(row, kKindColumn,
                       ReadOnlyItem(QString::fromStdString(FindingKindName(finding.kind))));
        QTableWidgetItem* message = ReadOnlyItem(QString::fromStdString(finding.message));
        message->setToolTip(message->text());
        list_->setItem(row, kMessageColumn, message);
    }
    list_->resizeColumnToContents(kRecordColumn);
    list_->resizeColumnToContents(kKindColumn);
    if (!hasRecords) {
        summary_->setText(tr("No records to check."));
    } else if (findings.empty()) {
        summary_->setText(tr("Nothing to question in the records."));
    } else {
        summary_->setText(tr("%n finding(s); activate one to show its record in the table.",
                             nullptr, static_cast<int>(findings.size())));
    }
}

} // namespace kestrix::gui

#include "kestrix/gui/iaq/IaqReportDialog.h"

#include "kestrix/cleanroom/listTexts.h"
#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/iaq/iaqReportFiles.h"
#include "kestrix/iaq/iaqTexts.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/locationNames.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kestrix::gui {

namespace {

using namespace kestrix::iaq;

constexpr int kDialogCharacters = 130;
constexpr int kDialogLines = 30;
constexpr int kIndexColumn = 6;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QColor Color(table::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QTableWidgetItem* Item(const std::string& text, bool number) {
    auto* item = new QTableWidgetItem(Text(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    return item;
}

} // namespace

IaqReportDialog::IaqReportDialog(data::clsDataRecordSet& recordSet,
                                 const modConfig::ConfigStore& store, UserDialogs& dialogs,
                                 QWidget* parent)
    : QDialog(parent), recordSet_(recordSet), store_(store), dialogs_(dialogs),
      locations_(new QLineEdit), days_(new QTableWidget), summary_(new QLabel),
      saveButton_(new QPushButton(tr("&Save Report..."))) {
    setObjectName(QStringLiteral("frmDlgIaqReport"));
    setWindowTitle(tr("IAQ Report"));
    locations_->setObjectName(QStringLiteral("txtLocations"));
    locations_->setPlaceholderText(tr("all, or such as 1, 3, 5-8"));
    days_->setObjectName(QStringLiteral("tblDays"));
    days_->setAccessibleName(tr("Days"));
    days_->verticalHeader()->hide();
    days_->setSelectionBehavior(QAbstractItemView::SelectRows);
    summary_->setObjectName(QStringLiteral("lblSummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* locationsLabel = new QLabel(tr("&Locations:"));
    locationsLabel->setBuddy(locations_);
    auto* form = new QFormLayout;
    form->addRow(locationsLabel, locations_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->addButton(saveButton_, QDialogButtonBox::ActionRole);
    resize(fontMetrics().averageCharWidth() * kDialogCharacters,
           fontMetrics().height() * kDialogLines);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(days_, 1);
    layout->addWidget(summary_);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(saveButton_, &QPushButton::clicked, this, &IaqReportDialog::SaveReport);
    connect(locations_, &QLineEdit::textChanged, this, &IaqReportDialog::UpdateReport);
    UpdateReport();
}

void IaqReportDialog::UpdateReport() {
    report_.reset();
    const auto locations = cleanroom::ParseLocationList(locations_->text().toStdString());
    QString problem = tr("The locations must be numbers and ranges separated by commas, such as "
                         "1, 3, 5-8.");
    if (locations) {
        IaqOutcome outcome = ComputeIaqReport(recordSet_, {*locations},
                                              table::ConfiguredLocationNamer(recordSet_, store_));
        report_ = std::move(outcome.report);
        problem = Text(outcome.message);
    }
    saveButton_->setEnabled(report_.has_value());
    ShowDays();
    if (!report_) {
        summary_->setText(problem);
        return;
    }
    QStringList lines;
    for (const std::string& line : SummaryLines(*report_)) {
        lines << Text(line);
    }
    summary_->setText(lines.join('\n'));
}

void IaqReportDialog::ShowDays() {
    const std::vector<std::string> headings = DayHeadings();
    days_->clear();
    days_->setColumnCount(static_cast<int>(headings.size()));
    QStringList labels;
    for (const std::string& heading : headings) {
        labels << Text(heading);
    }
    days_->setHorizontalHeaderLabels(labels);
    days_->setRowCount(report_ ? static_cast<int>(report_->days.size()) : 0);
    for (int row = 0; row < days_->rowCount(); ++row) {
        const IaqDay& day = report_->days[static_cast<std::size_t>(row)];
        const std::vector<std::string> cells = DayCells(day);
        for (int column = 0; column < days_->columnCount(); ++column) {
            const bool number = column > 0 && column < kIndexColumn + 1 && column != 3;
            days_->setItem(row, column, Item(cells[static_cast<std::size_t>(column)], number));
        }
        if (day.index.overall) {
            const AqiCategory category = day.index.overall->overall.category;
            QTableWidgetItem* index = days_->item(row, kIndexColumn);
            index->setBackground(Color(CategoryColor(category)));
            index->setForeground(Color(CategoryTextColor(category)));
        }
    }
    days_->resizeColumnsToContents();
    // Every column shown whole: the dialog grows with the table, up to most of the screen.
    const int wholeWidth = days_->horizontalHeader()->length() + 2 * days_->frameWidth() +
                           days_->verticalScrollBar()->sizeHint().width();
    const int screenWidth = screen()->availableGeometry().width() * 9 / 10;
    days_->setMinimumWidth(std::min(wholeWidth, screenWidth));
    layout()->activate();
    resize(size().expandedTo(minimumSizeHint()));
}

void IaqReportDialog::SaveReport() {
    if (!report_) {
        return;
    }
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.title = tr("Save IAQ Report");
    request.filters = {tr("PDF File (*.pdf)"), tr("HTML File (*.html *.htm)"),
                       tr("CSV File (*.csv)"), tr("JSON File (*.json)")};
    request.suffixes = {QStringLiteral("pdf"), QStringLiteral("html"), QStringLiteral("csv"),
                        QStringLiteral("json")};
    const FileChoice choice = dialogs_.ChooseFile(this, request);
    if (choice.Cancelled()) {
        return;
    }
    const std::string error = SaveIaqReport(*report_, choice.path.toStdString());
    if (!error.empty()) {
        dialogs_.Message(this, {tr("The report cannot be saved."), tr("File Error!"),
                                QMessageBox::Warning, QMessageBox::Ok, Text(error)});
    }
}

} // namespace kestrix::gui

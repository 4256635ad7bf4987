#include "kestrix/gui/locations/LocationsDialog.h"

#include "kestrix/gui/common/HeaderSorting.h"
#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/gui/locations/LocationEditDialog.h"
#include "kestrix/gui/locations/LocationFileCommands.h"
#include "kestrix/shell/locationNameKeys.h"
#include "kestrix/shell/modConfig.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::gui {
namespace {

constexpr int kShortColumn = 1;
constexpr int kLongColumn = 2;
constexpr int kVisibleRows = 20;

// Enter in the list edits the selected row, as a double click does.
class LocationList : public QTreeWidget {
public:
    explicit LocationList(LocationsDialog* dialog) : QTreeWidget(dialog), dialog_(dialog) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            dialog_->EditSelectedLocation();
            return;
        }
        QTreeWidget::keyPressEvent(event);
    }

private:
    LocationsDialog* dialog_;
};

} // namespace

LocationsDialog::LocationsDialog(modConfig::ConfigStore& store, UserDialogs& dialogs,
                                 QWidget* parent)
    : QDialog(parent), store_(store), dialogs_(dialogs), lstLocations_(new LocationList(this)),
      sorting_(new HeaderSorting(*lstLocations_)),
      editDialog_(new LocationEditDialog(store, dialogs, this)) {
    setObjectName(QStringLiteral("frmDlgLocations"));
    setWindowTitle(QStringLiteral("Setup My Locations"));
    lstLocations_->setObjectName(QStringLiteral("lstLocations"));
    lstLocations_->setAccessibleName(QStringLiteral("My Locations"));
    lstLocations_->setHeaderLabels(
        {QStringLiteral("Number"), QStringLiteral("Short Name"), QStringLiteral("Long Name")});
    lstLocations_->setRootIsDecorated(false);
    lstLocations_->setUniformRowHeights(true);
    lstLocations_->setAllColumnsShowFocus(true);
    connect(lstLocations_, &QTreeWidget::itemDoubleClicked, this,
            &LocationsDialog::EditSelectedLocation);

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* save = button("cmdSave", QStringLiteral("&Save Location Names As..."));
    QPushButton* open = button("cmdOpen", QStringLiteral("&Open Location Names From..."));
    QPushButton* edit = button("cmdEdit", QStringLiteral("&Edit..."));
    QPushButton* close = button("cmdClose", QStringLiteral("&Close"));
    connect(save, &QPushButton::clicked, this,
            [this] { SaveLocationNamesAs(this, dialogs_, store_, recordSet_); });
    connect(open, &QPushButton::clicked, this, &LocationsDialog::OpenFile);
    connect(edit, &QPushButton::clicked, this, &LocationsDialog::EditSelectedLocation);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(open);
    buttons->addStretch(1);
    buttons->addWidget(edit);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstLocations_, 1);
    layout->addLayout(buttons);
    resize(fontMetrics().averageCharWidth() * 100,
           fontMetrics().lineSpacing() * (kVisibleRows + 6));
    FillLocationList();
}

void LocationsDialog::SetDataRecordSet(std::shared_ptr<data::clsDataRecordSet> recordSet) {
    recordSet_ = std::move(recordSet);
}

void LocationsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FillLocationList();
        modified_ = false;
        lstLocations_->setFocus();
    }
}

void LocationsDialog::ShowRow(QTreeWidgetItem* row, int index) {
    row->setText(kShortColumn, QString::fromStdString(store_.GetShortLocationName(index)));
    row->setText(kLongColumn, QString::fromStdString(store_.GetLongLocationName(index)));
}

void LocationsDialog::FillLocationList() {
    lstLocations_->clear();
    QList<QTreeWidgetItem*> rows;
    for (int index = 0; index < modConfig::kLocationCount; ++index) {
        auto* row = new QTreeWidgetItem(
            {QString::fromStdString(locationNames::ThreeDigitKey(index)), {}, {}});
        row->setData(0, Qt::UserRole, index);
        ShowRow(row, index);
        rows.append(row);
    }
    lstLocations_->addTopLevelItems(rows);
    sorting_->Sort();
    lstLocations_->setCurrentItem(lstLocations_->topLevelItem(0));
    lstLocations_->scrollToItem(lstLocations_->currentItem());
    FitNameColumns();
}

void LocationsDialog::FitNameColumns() {
    lstLocations_->resizeColumnToContents(kShortColumn);
    lstLocations_->resizeColumnToContents(kLongColumn);
}

void LocationsDialog::EditSelectedLocation() {
    QTreeWidgetItem* row = lstLocations_->currentItem();
    if (!row) {
        return;
    }
    bool isIndex = false;
    const int index = row->data(0, Qt::UserRole).toInt(&isIndex);
    if (!isIndex || index < 0 || index >= modConfig::kLocationCount) {
        return;
    }
    editDialog_->SetLocationID(index);
    dialogs_.ShowModal(*editDialog_);
    if (!editDialog_->WasOkClicked()) {
        return;
    }
    ShowRow(row, index);
    sorting_->Sort();
    lstLocations_->scrollToItem(row);
    FitNameColumns();
    modified_ = true;
}

void LocationsDialog::OpenFile() {
    if (OpenLocationNamesFrom(this, dialogs_, store_)) {
        FillLocationList();
        modified_ = true;
    }
}

} // namespace kestrix::gui

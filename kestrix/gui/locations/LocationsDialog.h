#pragma once

// frmDlgLocations, "Setup My Locations": the 1000 location numbers with their short and long
// names, sortable by column, edited one at a time, saved to and opened from location files.

#include "kestrix/data/clsDataRecordSet.h"

#include <QDialog>
#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::gui {

class HeaderSorting;
class LocationEditDialog;
class UserDialogs;

class LocationsDialog : public QDialog {
    Q_OBJECT
public:
    LocationsDialog(modConfig::ConfigStore& store, UserDialogs& dialogs, QWidget* parent = nullptr);

    void SetDataRecordSet(std::shared_ptr<data::clsDataRecordSet> recordSet);
    // A name changed since the dialog was last shown.
    bool WasModified() const { return modified_; }

    QTreeWidget* List() const { return lstLocations_; }
    LocationEditDialog* EditDialog() const { return editDialog_; }
    void EditSelectedLocation();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillLocationList();
    void FitNameColumns();
    void OpenFile();
    void ShowRow(QTreeWidgetItem* row, int index);

    modConfig::ConfigStore& store_;
    UserDialogs& dialogs_;
    std::shared_ptr<data::clsDataRecordSet> recordSet_;
    QTreeWidget* lstLocations_;
    HeaderSorting* sorting_;
    LocationEditDialog* editDialog_;
    bool modified_ = false;
};

} // namespace kestrix::gui

#pragma once

// frmDlgSaveLocations: saves My Locations, or the names of the downloaded instrument, to a
// location file.

#include "kestrix/data/clsDataRecordSet.h"

#include <QDialog>
#include <memory>

class QPushButton;
class QRadioButton;

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::gui {

class UserDialogs;

class SaveLocationsDialog : public QDialog {
    Q_OBJECT
public:
    SaveLocationsDialog(modConfig::ConfigStore& store, UserDialogs& dialogs,
                        QWidget* parent = nullptr);

    void SetDataRecordSet(std::shared_ptr<data::clsDataRecordSet> recordSet);
    QRadioButton* InstrumentNamesOption() const { return optInstrumentNames_; }
    QRadioButton* MyNamesOption() const { return optMyNames_; }
    QPushButton* NextButton() const { return next_; }

private:
    void SaveToFile();

    modConfig::ConfigStore& store_;
    UserDialogs& dialogs_;
    std::shared_ptr<data::clsDataRecordSet> recordSet_;
    QRadioButton* optInstrumentNames_;
    QRadioButton* optMyNames_;
    QPushButton* next_;
    QPushButton* cancel_;
};

} // namespace kestrix::gui

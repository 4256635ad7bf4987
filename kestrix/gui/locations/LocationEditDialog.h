#pragma once

// frmDlgLocationSetup: the long and the short name of one location, checked before they are
// stored in My Locations.

#include <QDialog>

class QLineEdit;

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::gui {

class UserDialogs;

class LocationEditDialog : public QDialog {
    Q_OBJECT
public:
    LocationEditDialog(modConfig::ConfigStore& store, UserDialogs& dialogs,
                       QWidget* parent = nullptr);

    void SetLocationID(int index) { index_ = index; }
    int GetLocationID() const { return index_; }
    bool WasOkClicked() const { return okClicked_; }

    QLineEdit* LongNameBox() const { return txtName_; }
    QLineEdit* ShortNameBox() const { return txtShortName_; }

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Refuse(const QString& message, const QString& title, QLineEdit* box);
    bool Store();

    modConfig::ConfigStore& store_;
    UserDialogs& dialogs_;
    QLineEdit* txtName_;
    QLineEdit* txtShortName_;
    int index_ = 0;
    bool okClicked_ = false;
};

} // namespace kestrix::gui

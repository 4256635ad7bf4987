#pragma once

// Tools > Cleanroom Classification Report...: the testing organisation, its address and the
// tester (kept in the configuration for the next report); the room, its place in the building,
// its area, loaded from and saved to a room file with the locations' coordinates; the class or
// grade, the occupancy state, the sizes and the locations; a preview of the verdict that
// follows every change; and the report saved as PDF, HTML or JSON, which can then be signed.

#include "kestrix/cleanroom/classification.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix {
namespace modConfig {
class ConfigStore;
}
} // namespace kestrix

namespace kestrix::gui {

class UserDialogs;

class ClassificationDialog : public QDialog {
    Q_OBJECT
public:
    ClassificationDialog(data::clsDataRecordSet& recordSet, const modConfig::ConfigStore& store,
                         UserDialogs& dialogs, QWidget* parent = nullptr);

    QLabel* Preview() const { return preview_; }
    QPushButton* SaveButton() const { return saveButton_; }
    QPushButton* SignButton() const { return signButton_; }
    // Loads a room file into the fields; the error text, empty when loaded.
    QString LoadRoom(const QString& path);

private:
    // The request the fields give; nothing, with the reason in `problem`, for a bad list.
    std::optional<cleanroom::ClassificationRequest> Request(QString& problem) const;
    void UpdatePreview();
    void SaveReport();
    // The file the user chose; empty when cancelled.
    QString ChooseRoomFile(bool save);
    void ShowRoomError(const QString& error);
    void ChooseRoomToLoad();
    void SaveRoom();
    cleanroom::RoomDescription Room() const;
    void KeepTestingParty();

    data::clsDataRecordSet& recordSet_;
    const modConfig::ConfigStore& store_;
    UserDialogs& dialogs_;
    QLineEdit* organisation_;
    QLineEdit* address_;
    QLineEdit* tester_;
    QLineEdit* room_;
    QLineEdit* building_;
    QDoubleSpinBox* area_;
    QLabel* coordinates_;
    QComboBox* target_;
    QComboBox* state_;
    QLineEdit* sizes_;
    QLineEdit* locations_;
    QLabel* preview_;
    QPushButton* saveButton_;
    QPushButton* signButton_; // for the report saved last
    // The report saved last and where: signing writes it again with its signatures.
    QString savedReport_;
    std::optional<cleanroom::ClassificationReport> savedContent_;
    std::optional<cleanroom::ClassificationReport> report_;
    // The room file's size and coordinates, kept for the report and the next save.
    cleanroom::RoomDescription loadedRoom_;
};

} // namespace kestrix::gui

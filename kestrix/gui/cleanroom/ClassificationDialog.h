#pragma once

// Tools > Cleanroom Classification Report...: the room, its area, the class or grade, the
// occupancy state, the sizes and the locations; a preview of the verdict that follows every
// change; and the report saved as PDF, HTML or JSON.

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

private:
    // The request the fields give; nothing, with the reason in `problem`, for a bad list.
    std::optional<cleanroom::ClassificationRequest> Request(QString& problem) const;
    void UpdatePreview();
    void SaveReport();

    data::clsDataRecordSet& recordSet_;
    const modConfig::ConfigStore& store_;
    UserDialogs& dialogs_;
    QLineEdit* room_;
    QDoubleSpinBox* area_;
    QComboBox* target_;
    QComboBox* state_;
    QLineEdit* sizes_;
    QLineEdit* locations_;
    QLabel* preview_;
    QPushButton* saveButton_;
    std::optional<cleanroom::ClassificationReport> report_;
};

} // namespace kestrix::gui

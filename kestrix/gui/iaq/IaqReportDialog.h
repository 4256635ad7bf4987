#pragma once

// Tools > IAQ Report...: the days of an IAQ record set with their mean PM2.5 and PM10, the
// Air Quality Index in its category's colour and the WHO verdicts; the summary; the locations
// to include; and the report saved as PDF, HTML, CSV or JSON.

#include "kestrix/iaq/iaqReport.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::gui {

class UserDialogs;

class IaqReportDialog : public QDialog {
    Q_OBJECT
public:
    IaqReportDialog(data::clsDataRecordSet& recordSet, const modConfig::ConfigStore& store,
                    UserDialogs& dialogs, QWidget* parent = nullptr);

    QTableWidget* Days() const { return days_; }
    QLabel* Summary() const { return summary_; }
    QPushButton* SaveButton() const { return saveButton_; }

private:
    void UpdateReport();
    void ShowDays();
    void SaveReport();

    data::clsDataRecordSet& recordSet_;
    const modConfig::ConfigStore& store_;
    UserDialogs& dialogs_;
    QLineEdit* locations_;
    QTableWidget* days_;
    QLabel* summary_;
    QPushButton* saveButton_;
    std::optional<iaq::IaqReport> report_;
};

} // namespace kestrix::gui

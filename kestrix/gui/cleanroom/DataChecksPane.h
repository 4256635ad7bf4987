#pragma once

// The "Data Checks" pane beside the table: one row per finding of the record set; activating a
// row asks for the record's table row.

#include "kestrix/cleanroom/dataChecks.h"

#include <QDockWidget>
#include <cstdint>
#include <vector>

class QLabel;
class QTableWidget;

namespace kestrix::gui {

class DataChecksPane : public QDockWidget {
    Q_OBJECT
public:
    explicit DataChecksPane(QWidget* parent = nullptr);

    // Without a record set: no findings and a text saying so.
    void ShowFindings(const std::vector<cleanroom::DataFinding>& findings, bool hasRecords);
    QTableWidget* List() const { return list_; }

signals:
    void RecordActivated(std::int32_t recordIndex);

private:
    QLabel* summary_;
    QTableWidget* list_;
};

} // namespace kestrix::gui

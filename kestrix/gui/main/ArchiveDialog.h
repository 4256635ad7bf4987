#pragma once

// File > Open from Archive: the archived instruments with their record counts and time spans,
// a time range and the locations to take. The dialog only chooses; the main window queries.

#include "kestrix/archive/archiveQuery.h"

#include <QDialog>
#include <vector>

class QDateTimeEdit;
class QListWidget;
class QTreeWidget;

namespace kestrix::gui {

class ArchiveDialog : public QDialog {
    Q_OBJECT
public:
    ArchiveDialog(std::vector<archive::InstrumentSummary> instruments, QWidget* parent = nullptr);

    // The chosen instrument, time range and locations.
    archive::RecordQuery Choice() const;

private:
    void ShowInstrument(int row);

    std::vector<archive::InstrumentSummary> instruments_;
    QTreeWidget* lstInstruments_;
    QDateTimeEdit* txtFrom_;
    QDateTimeEdit* txtTo_;
    QListWidget* lstLocations_;
};

} // namespace kestrix::gui

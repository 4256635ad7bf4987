#pragma once

// File > Open from Archive: the archived instruments with their record counts and time spans,
// a time range and the locations to take. The dialog only chooses; the main window queries.

#include "kestrix/archive/archiveQuery.h"

#include <QDialog>
#include <vector>

class QDateTimeEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace kestrix::gui {

class ArchiveDialog : public QDialog {
    Q_OBJECT
public:
    ArchiveDialog(std::vector<archive::InstrumentSummary> instruments, QWidget* parent = nullptr);

    // The chosen instrument, time range and locations.
    archive::RecordQuery Choice() const;

    QTreeWidget* InstrumentList() const { return lstInstruments_; }
    QDateTimeEdit* FromBox() const { return txtFrom_; }
    QDateTimeEdit* ToBox() const { return txtTo_; }
    QListWidget* LocationList() const { return lstLocations_; }
    QPushButton* OpenButton() const { return cmdOpen_; }

private:
    void ShowInstrument(int row);
    QWidget* MakeCheckAllButtons();
    void CheckEveryLocation(Qt::CheckState state);
    // Open asks for a time range that runs forwards and at least one location.
    void UpdateOpenButton();

    std::vector<archive::InstrumentSummary> instruments_;
    QTreeWidget* lstInstruments_;
    QDateTimeEdit* txtFrom_;
    QDateTimeEdit* txtTo_;
    QListWidget* lstLocations_;
    QPushButton* cmdOpen_ = nullptr;
};

} // namespace kestrix::gui

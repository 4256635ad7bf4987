#pragma once

// Tools > Instruments...: the archived instruments with the calibration that stands for each,
// and the calibration to keep for the chosen one. The dialog only shows and asks; keeping is the
// caller's, which answers with the instruments as they are then.

#include "kestrix/archive/calibration.h"

#include <QDate>
#include <QDialog>
#include <functional>
#include <vector>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kestrix::gui {

class InstrumentsDialog : public QDialog {
    Q_OBJECT
public:
    // Keeps the calibration for the instrument; none when it was not kept (the caller said why).
    using KeepCalibration =
        std::function<std::optional<std::vector<archive::InstrumentCalibration>>(
            const archive::InstrumentSummary&, const archive::Calibration&)>;

    InstrumentsDialog(std::vector<archive::InstrumentCalibration> rows, QDate today,
                      KeepCalibration keep, QWidget* parent = nullptr);

    QTreeWidget* InstrumentList() const { return lstInstruments_; }
    QLineEdit* CertificateBox() const { return txtCertificate_; }
    QDateEdit* DateBox() const { return txtDate_; }
    QDateEdit* DueBox() const { return txtDue_; }
    QPushButton* KeepButton() const { return cmdKeep_; }

private:
    void ShowRows();
    void ShowCalibration(int row);
    void Keep();
    void UpdateKeepButton();
    QWidget* MakeCalibrationBox();

    std::vector<archive::InstrumentCalibration> rows_;
    QDate today_;
    KeepCalibration keep_;
    QTreeWidget* lstInstruments_;
    QLineEdit* txtCertificate_ = nullptr;
    QDateEdit* txtDate_ = nullptr;
    QDateEdit* txtDue_ = nullptr;
    QPushButton* cmdKeep_ = nullptr;
};

} // namespace kestrix::gui

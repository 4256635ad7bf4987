#pragma once

// Tools > Audit Trail...: the archive's events chosen by time range, user, kind and instrument,
// sorted by time; the chain checked on request, with the head to keep outside the archive; and
// the chosen events printed or saved as PDF. Checking is the caller's.

#include "kestrix/archive/archiveEvents.h"
#include "kestrix/archive/archiveVerify.h"
#include "kestrix/archive/eventFilter.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kestrix::table {
class GridModel;
}

namespace kestrix::gui {

class UserDialogs;

class AuditTrailDialog : public QDialog {
    Q_OBJECT
public:
    // Verifies the archive against the kept head, if any; throws ArchiveError when it cannot.
    using VerifyChain =
        std::function<archive::VerifyResult(const std::optional<archive::ChainHead>& kept)>;

    AuditTrailDialog(std::vector<archive::EventEntry> events, std::string place, VerifyChain verify,
                     UserDialogs& dialogs, QWidget* parent = nullptr);

    archive::EventFilter Filter() const;

    QTreeWidget* EventList() const { return lstEvents_; }
    QDateTimeEdit* FromBox() const { return txtFrom_; }
    QDateTimeEdit* ToBox() const { return txtTo_; }
    QComboBox* UserBox() const { return cboUser_; }
    QComboBox* KindBox() const { return cboKind_; }
    QComboBox* InstrumentBox() const { return cboInstrument_; }
    QLineEdit* KeptHeadBox() const { return txtKeptHead_; }
    QPushButton* VerifyButton() const { return cmdVerify_; }
    QLabel* Verdict() const { return lblVerdict_; }
    QLineEdit* HeadBox() const { return txtHead_; }
    QPushButton* PrintButton() const { return cmdPrint_; }
    QPushButton* SavePdfButton() const { return cmdSavePdf_; }

private:
    QLayout* MakeFilterBar();
    QWidget* MakeChainBox();
    QWidget* MakeButtons();
    void FillChoices();
    void ShowEvents();
    void FitToEvents();
    void Verify();
    void ShowVerdict(const QString& text, bool damaged);
    void LayOut(table::GridModel& grid) const;
    void Print();
    void SavePdf();

    std::vector<archive::EventEntry> events_; // every event, sorted by time
    std::vector<archive::EventEntry> shown_;
    std::string place_;
    VerifyChain verify_;
    UserDialogs& dialogs_;
    QDateTimeEdit* txtFrom_;
    QDateTimeEdit* txtTo_;
    QComboBox* cboUser_;
    QComboBox* cboKind_;
    QComboBox* cboInstrument_;
    QTreeWidget* lstEvents_;
    QLabel* lblCount_;
    QLineEdit* txtKeptHead_ = nullptr;
    QPushButton* cmdVerify_ = nullptr;
    QLabel* lblVerdict_ = nullptr;
    QLineEdit* txtHead_ = nullptr;
    QPushButton* cmdCopy_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
    QPushButton* cmdSavePdf_ = nullptr;
};

} // namespace kestrix::gui

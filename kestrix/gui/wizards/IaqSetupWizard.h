#pragma once

// frmDlgIaqSetupWiz: welcome, port and address, connection and identity, the particle density
// with the choice to change it, and its write. The density session does the work; the wizard
// shows its state and hands it the user's presses and the new density.

#include "kestrix/gui/wizards/ConnectingWizard.h"

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace kestrix::instrument {
class DensitySession;
} // namespace kestrix::instrument

namespace kestrix::gui {

class IaqSetupWizard : public ConnectingWizard {
    Q_OBJECT
public:
    IaqSetupWizard(modConfig::ConfigStore& store, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~IaqSetupWizard() override;

    instrument::DensitySession& Session() { return *session_; }
    QCheckBox* ChangeBox() const { return chkChange_; }
    QLineEdit* NewDensityBox() const { return txtNewDensity_; }

protected:
    void EnterStep(int step, int previous) override;
    void OnPress(instrument::WizardButton button) override;
    void OnHidden() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Restart() override;

private:
    QWidget* MakeDensityPage();
    QWidget* MakeWritePage();
    void EnterWriteStep();
    void ShowIdentity();
    void ShowInstrumentDensity();
    void ApplyChangeChoice();
    void FillBlanks();
    void ShowWritten();

    std::unique_ptr<instrument::DensitySession> session_;
    QLabel* lblInstrumentDensity_ = nullptr;
    QCheckBox* chkChange_ = nullptr;
    QLineEdit* txtNewDensity_ = nullptr;
    QLabel* lblNextInfo_ = nullptr;
    QLabel* lblDone_ = nullptr;
    QLabel* lblDownloadInfo_ = nullptr;
    bool written_ = false;     // the write step has written the density
    bool readingBack_ = false; // the identity read after a write brings the density only
};

} // namespace kestrix::gui

#pragma once

// frmDlgDownloadWiz: welcome, port and address, connection and identity, download. The
// download session does the work; the wizard shows its state and hands it the user's presses.

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/gui/wizards/ConnectingWizard.h"

#include <memory>

class QLabel;
class QProgressBar;

namespace kestrix::instrument {
class DownloadSession;
} // namespace kestrix::instrument

namespace kestrix::gui {

class DownloadWizard : public ConnectingWizard {
    Q_OBJECT
public:
    DownloadWizard(modConfig::ConfigStore& store, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~DownloadWizard() override;

    bool WasDataDownloaded() const;
    std::shared_ptr<data::clsDataRecordSet> GetDataRecordSet() const;
    instrument::DownloadSession& Session() { return *session_; }

protected:
    void EnterStep(int step, int previous) override;
    void OnPress(instrument::WizardButton button) override;
    void Restart() override;
    void OnHidden() override;

private:
    QWidget* MakeDownloadPage();
    void EnterDownloadStep();
    void ShowIdentity();
    void ShowDownloadState();

    std::unique_ptr<instrument::DownloadSession> session_;
    QProgressBar* pbarDownload_ = nullptr;
    QLabel* lblProgInfo_ = nullptr;
    QLabel* lblDoNotUse_ = nullptr;
    QLabel* lblDone_ = nullptr;
    QLabel* lblNoData_ = nullptr;
};

} // namespace kestrix::gui

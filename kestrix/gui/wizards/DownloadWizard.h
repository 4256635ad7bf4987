#pragma once

// frmDlgDownloadWiz: welcome, port and address, connection and identity, download. The
// download session does the work; the wizard shows its state and hands it the user's presses.

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/gui/wizards/WizardFrame.h"
#include "kestrix/instrument/PortList.h"
#include "kestrix/instrument/SessionMessages.h"

#include <memory>

class QLabel;
class QProgressBar;

namespace kestrix {
class DownloadSession;
}
namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::gui {

class IdentityPage;
class PortAddressPage;
class UserDialogs;

class DownloadWizard : public WizardFrame {
    Q_OBJECT
public:
    DownloadWizard(modConfig::ConfigStore& store, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~DownloadWizard() override;

    bool WasDataDownloaded() const;
    std::shared_ptr<clsDataRecordSet> GetDataRecordSet() const;
    DownloadSession& Session() { return *session_; }
    PortAddressPage& PortPage() const { return *portPage_; }
    IdentityPage& ConnectPage() const { return *identityPage_; }

protected:
    void EnterStep(int step, int previous) override;
    void OnPress(WizardButton button) override;
    void Restart() override;
    void OnHidden() override;

private:
    // The question box opens after the session's signal has returned, so that no box runs its
    // event loop inside the session.
    void AskQuestion(const std::string& title, const std::string& text);

    QWidget* MakeDownloadPage();
    void EnterConnectStep(int previous);
    void EnterDownloadStep();
    void ShowConnectProgress();
    void ShowIdentity();
    void ShowDownloadState();

    modConfig::ConfigStore& store_;
    UserDialogs& dialogs_;
    std::unique_ptr<DownloadSession> session_;
    ListChoice ports_;
    PortAddressPage* portPage_;
    IdentityPage* identityPage_;
    QProgressBar* pbarDownload_ = nullptr;
    QLabel* lblProgInfo_ = nullptr;
    QLabel* lblDoNotUse_ = nullptr;
    QLabel* lblDone_ = nullptr;
    QLabel* lblNoData_ = nullptr;
};

} // namespace kestrix::gui

#pragma once

// frmDlgUploadWiz: welcome, port and address, connection and identity with the instrument's name
// count, the review of the names to write, and the upload. The upload session does the work;
// the wizard shows its state, asks before anything is overwritten and hands the session the
// user's presses and My Locations' short names.

#include "kestrix/gui/wizards/ConnectingWizard.h"
#include "kestrix/instrument/UploadSession.h"

#include <memory>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QTreeWidget;

namespace kestrix::gui {

class HeaderSorting;

class UploadWizard : public ConnectingWizard {
    Q_OBJECT
public:
    UploadWizard(modConfig::ConfigStore& store, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~UploadWizard() override;

    instrument::UploadSession& Session() { return *session_; }
    QTreeWidget* NameList() const { return lstNames_; }

protected:
    void EnterStep(int step, int previous) override;
    void OnPress(instrument::WizardButton button) override;
    void OnHidden() override;

private:
    QWidget* MakeReviewPage();
    QWidget* MakeUploadPage();
    void ShowNameCount(int count, bool canUpload);
    void FillNameList();
    void EnterUploadStep();
    std::vector<std::string> ShortNames() const;
    bool NamesCanBeUploaded();
    void ShowUploadState(const instrument::UploadView& view);
    void EndUpload(instrument::UploadOutcome outcome);

    std::unique_ptr<instrument::UploadSession> session_;
    QTreeWidget* lstNames_ = nullptr;
    HeaderSorting* sorting_ = nullptr;
    QProgressBar* pbarUpload_ = nullptr;
    QLabel* lblProgInfo_ = nullptr;
    QLabel* lblDoNotUse_ = nullptr;
    QLabel* lblDone_ = nullptr;
    QLabel* lblNoLocations_ = nullptr;
};

} // namespace kestrix::gui

#pragma once

// What the instrument wizards share: the welcome, the choice of port and address (kept in the
// configuration as the user picks them), the connection with the instrument's identity, and the
// session's notices and questions shown from the event loop. Each wizard adds its later steps.

#include "kestrix/gui/wizards/WizardFrame.h"
#include "kestrix/gui/wizards/WizardNotices.h"
#include "kestrix/gui/wizards/WizardPages.h"
#include "kestrix/instrument/PortList.h"
#include "kestrix/instrument/SessionCore.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QTimer;

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::gui {

class UserDialogs;

class ConnectingWizard : public WizardFrame {
    Q_OBJECT
public:
    PortAddressPage& PortPage() const { return *portPage_; }
    IdentityPage& ConnectPage() const { return *identityPage_; }

protected:
    ConnectingWizard(const QString& title, modConfig::ConfigStore& store, UserDialogs& dialogs,
                     const PortAddressTexts& portTexts, IdentityPage* identityPage,
                     QWidget* parent);

    // The session's signals of steps 1 to 3 shown on the shared pages.
    void BindConnection(instrument::SessionCore& session);

    // Steps 1 to 3 as every wizard enters them; false for a later step.
    bool EnterSharedStep(int step, int previous);
    // A Yes/No box opened after the session's signal has returned, so that no box runs its
    // event loop inside the session.
    void AskLater(const std::string& title, const std::string& text,
                  std::function<void(bool yes)> answer);
    // A Yes/No box at once.
    bool AskNow(const QString& title, const QString& text);

    void Restart() override;
    modConfig::ConfigStore& store_;
    UserDialogs& dialogs_;

private:
    void EnterConnectStep(int previous);
    void RefreshPorts();
    // Lists the bound ports, the chosen one selected when it is there.
    void ListPorts(int chosen, const std::vector<instrument::BoundPort>& bound);
    void FollowPorts();

    // The devices ports_ was made from, each with whether it was there.
    std::vector<std::pair<instrument::BoundPort, bool>> devicesSeen_;
    instrument::ListChoice ports_;
    QTimer* portWatch_;
    instrument::SessionCore* core_ = nullptr; // set by BindConnection
    PortAddressPage* portPage_;
    IdentityPage* identityPage_;
};

} // namespace kestrix::gui

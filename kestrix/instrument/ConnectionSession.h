#pragma once

// The connection and identification shared by the wizards: one request at a time on handle 0,
// the address probe or auto-detect scan, the identity, the watchdog with its two retries and the
// buttons pressed while a request is outstanding. No widget: what a window would show is kept
// here and announced by signals; message boxes go through SessionPrompts.

#include "kestrix/instrument/InstrumentIdentity.h"
#include "kestrix/instrument/RegisterReply.h"
#include "kestrix/instrument/RequestKind.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <optional>
#include <string>

namespace tolvex {
class CTolvexCtrl;
class TolvexAdapter;
} // namespace tolvex

namespace kestrix {

class SessionPrompts;

// The progress bar and text of the connection step.
struct ConnectProgress {
    int value = 0;
    int maximum = 0;
    std::string text;
    bool textVisible = false;
};

class ConnectionSession : public QObject {
    Q_OBJECT

public:
    static constexpr int kWatchdogMs = 1500;
    static constexpr int kRetries = 2;

    ConnectionSession(SessionPrompts& prompts, int identityRegisters, QObject* parent = nullptr);
    ~ConnectionSession() override;

    // False, touching nothing, unless 0 < port < 33 and 0 <= address < 100; address 0 scans.
    bool SetConnection(int port, int address);
    // Entering the connection step from the choice of port and address: false (with the
    // configuration message shown) when the wizard stays at the choice.
    bool StartIdentification(std::optional<int> port, std::optional<int> address);
    // A press acts at once while idle, else at the next completion.
    void PressButton(WizardButton button);
    // The wizard was hidden: both connections close.
    void CloseConnections();

    bool IsBusy() const { return kind_ != RequestKind::Idle; }
    bool IsIdentified() const { return identified_; }
    const InstrumentIdentity& Identity() const { return identity_; }
    int SlaveAddress() const { return slaveAddress_; }
    int Port() const { return port_; }
    const ConnectProgress& Progress() const { return progress_; }
    std::string SerialNumberText() const { return FormatSerialNumber(identity_.serialNumber); }

signals:
    void ConnectProgressChanged();
    void IdentityShown();
    void InstrumentNotFound();
    // Lost communication: the wizard goes back to the choice of port and address.
    void CommunicationLost();
    void ButtonCarriedOut(kestrix::WizardButton button);

protected:
    tolvex::CTolvexCtrl& Control();
    RegisterReply Reply(int count) { return RegisterReply::FromControl(Control(), count); }
    SessionPrompts& Prompts() { return prompts_; }

    void IssueRequest(RequestKind kind, std::int32_t parameter);
    // Definitions on handle 0 with the slave address and update rate 50.
    void DefineRead(bool holding, int address, int quantity);
    void DefineWrite(int address, std::int16_t value);

    RequestKind Kind() const { return kind_; }
    std::int32_t Parameter() const { return parameter_; }
    void SetParameter(std::int32_t parameter) { parameter_ = parameter; }
    // For a request that goes out on the fast transport.
    void SetRequest(RequestKind kind, std::int32_t parameter) {
        kind_ = kind;
        parameter_ = parameter;
    }
    void EndRequests();
    Transport CurrentTransport() const { return transport_; }
    void SetTransport(Transport transport) { transport_ = transport; }
    WizardButton Pending() const { return pending_; }
    void ClearPending() { pending_ = WizardButton::None; }
    void StartWatchdog();
    void StopWatchdog();
    void ResetRetries() { retries_ = 0; }
    void SetRecordCount(std::int32_t count) { identity_.recordCount = count; }
    // Takes the pending button, clears it and announces it.
    void CarryOutPending();

    // Further kinds on the Modbus transport: define the request (Timeout and UpdateOnce follow).
    virtual void DefineFurtherRequest(RequestKind kind, std::int32_t parameter);
    // Any kind on the fast transport.
    virtual void IssueFastRequest(RequestKind kind, std::int32_t parameter);
    virtual void CompleteFurtherRequest(RequestKind kind, short result);
    // A pending press during a further kind: true when it ended the run of requests.
    virtual bool HandlePendingDuringRun();
    virtual void OpenFastPort(int port);
    virtual void CloseFastPort();
    virtual void OnCommunicationLost();

private:
    void OnCompletion();
    void OnWatchdog();
    void CompleteIdentification(RequestKind kind, short result);
    void DefineScan(std::int32_t parameter);
    void ShowIdentity();
    void SetProgress(int value, int maximum, std::string text, bool textVisible);
    bool HandlePending();
    bool Configure(bool ok, const char* text);

    SessionPrompts& prompts_;
    const int identityRegisters_;
    tolvex::TolvexAdapter* adapter_;
    QTimer watchdog_;
    Transport transport_ = Transport::Modbus;
    bool autoDetect_ = false;
    int port_ = 0;
    int slaveAddress_ = 1;
    RequestKind kind_ = RequestKind::Idle;
    std::int32_t parameter_ = 0;
    int retries_ = 0;
    WizardButton pending_ = WizardButton::None;
    // Set for a request that could not be sent: its completion is a failure.
    std::optional<short> unsentResult_;
    InstrumentIdentity identity_;
    bool identified_ = false;
    ConnectProgress progress_;
};

} // namespace kestrix

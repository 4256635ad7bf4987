#pragma once

// The connection and identification that every session runs first: the Modbus connection on
// the chosen port, the address probe or the auto-detect scan over 1..99, and the identity
// block. A session owns one beside its RequestRunner, hands it the identification kinds and
// passes its signals on.

#include "kestrix/instrument/AddressScan.h"
#include "kestrix/instrument/InstrumentIdentity.h"
#include "kestrix/instrument/RequestKind.h"
#include "kestrix/instrument/SessionMessages.h"

#include <QObject>
#include <cstdint>
#include <optional>
#include <string>

namespace kestrix::instrument {

class RequestRunner;

// The progress bar and text of the connection step.
struct ConnectProgress {
    int value = 0;
    int maximum = 0;
    std::string text;
    bool textVisible = false;
};

// What auto-detect starts from: the address found last time (0: none), and the reply timeout of
// its quick pass. At 19200 bit/s the probe (17 characters) and its reply (15) take 16.7 ms on the
// line; 100 ms leaves room for a busy instrument and a USB adapter's latency timer each way.
struct ScanHints {
    int lastFound = 0;
    int quickTimeoutMs = 100;
};

// 0 < port < 33 and 0 <= address < 100; address 0 scans.
bool IsValidConnection(int port, int address);

class ConnectionSteps : public QObject {
    Q_OBJECT

public:
    ConnectionSteps(RequestRunner& runner, int identityRegisters, QObject* parent = nullptr);

    // Entering the connection step from the choice of port and address: false (with the
    // configuration notice) when the wizard stays at the choice.
    bool Start(std::optional<int> port, std::optional<int> address);
    // The Modbus connection; false, touching nothing, for a choice out of range.
    bool Connect(int port, int address);
    // The Modbus connection again on the same port and address (after the fast transfer).
    void Reconnect();

    void SetScanHints(const ScanHints& hints);

    // The request of an identification kind.
    void Issue(RequestKind kind, std::int32_t parameter);
    void Complete(RequestKind kind, short result);
    // The lost-communication notice, then CommunicationLost; the runner has ended the request.
    void ReportLost();

    const InstrumentIdentity& Identity() const { return identity_; }
    bool IsIdentified() const { return identified_; }
    int Port() const { return port_; }
    const ConnectProgress& Progress() const { return progress_; }
    // The record count as the download found it.
    void SetRecordCount(std::int32_t count) { identity_.recordCount = count; }

signals:
    void ConnectProgressChanged(const kestrix::instrument::ConnectProgress& progress);
    void IdentityShown(const kestrix::instrument::InstrumentIdentity& identity);
    void InstrumentNotFound();
    void CommunicationLost();
    void NoticeShown(kestrix::instrument::MessageIcon icon, const std::string& title,
                     const std::string& text);

private:
    bool Check(bool ok, const char* text);
    void SetProgress(int value, int maximum, std::string text, bool textVisible);
    void FillProgress(bool textVisible);
    void IssueScan(std::int32_t parameter);
    void NotFound();
    void ShowIdentity();

    RequestRunner& runner_;
    const int identityRegisters_;
    int port_ = 0;
    bool autoDetect_ = false;
    ScanHints scanHints_;
    std::optional<AddressScan> scan_;
    InstrumentIdentity identity_;
    bool identified_ = false;
    ConnectProgress progress_;
};

} // namespace kestrix::instrument

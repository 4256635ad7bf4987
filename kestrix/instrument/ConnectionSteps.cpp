#include "kestrix/instrument/ConnectionSteps.h"

#include "kestrix/instrument/RegisterMap.h"
#include "kestrix/instrument/RequestRunner.h"
#include "kestrix/instrument/sessionTexts.h"
#include "tolvex/PortTable.h"
#include "tolvex/tolvex_constants.h"

namespace kestrix::instrument {

namespace {

constexpr int kLastAddress = AddressScan::kLastAddress;

RegisterRequest ProbeRequest() {
    return RegisterRequest::ReadHolding(registers::kIdentityBlock, 1);
}

} // namespace

bool IsValidConnection(int port, int address) {
    return port >= tolvex::kFirstPort && port <= tolvex::kLastPort && address >= 0 &&
           address <= kLastAddress;
}

ConnectionSteps::ConnectionSteps(RequestRunner& runner, int identityRegisters, QObject* parent)
    : QObject(parent), runner_(runner), identityRegisters_(identityRegisters) {}

bool ConnectionSteps::Check(bool ok, const char* text) {
    if (!ok) {
        emit NoticeShown(MessageIcon::Warning, sessionTexts::kConfigurationErrorTitle, text);
    }
    return ok;
}

bool ConnectionSteps::Start(std::optional<int> port, std::optional<int> address) {
    if (!Check(port.has_value(), sessionTexts::kNoPortSelected) ||
        !Check(address.has_value(), sessionTexts::kNoAddressSelected) ||
        !Check(Connect(*port, *address), sessionTexts::kInvalidConnection)) {
        return false;
    }
    identified_ = false;
    identity_ = InstrumentIdentity();
    Issue(autoDetect_ ? RequestKind::ScanAddresses : RequestKind::ProbeAddress, 0);
    return true;
}

bool ConnectionSteps::Connect(int port, int address) {
    if (!IsValidConnection(port, address)) {
        return false;
    }
    runner_.Close();
    port_ = port;
    runner_.Open(port);
    autoDetect_ = address < 1;
    runner_.SetSlaveAddress(autoDetect_ ? 1 : address);
    return true;
}

void ConnectionSteps::Reconnect() {
    Connect(port_, runner_.SlaveAddress());
}

void ConnectionSteps::SetProgress(int value, int maximum, std::string text, bool textVisible) {
    progress_ = {value, maximum, std::move(text), textVisible};
    emit ConnectProgressChanged(progress_);
}

void ConnectionSteps::FillProgress(bool textVisible) {
    SetProgress(progress_.maximum, progress_.maximum, progress_.text, textVisible);
}

void ConnectionSteps::SetScanHints(const ScanHints& hints) {
    scanHints_ = hints;
}

// Parameter 0 starts the scan; any other sends its current probe (again, for the watchdog).
void ConnectionSteps::IssueScan(std::int32_t parameter) {
    if (parameter == 0 || !scan_) {
        scan_.emplace(scanHints_.lastFound, scanHints_.quickTimeoutMs, RequestRunner::kTimeoutMs);
    }
    const AddressScan::Probe& probe = scan_->Current();
    runner_.SetSlaveAddress(probe.address);
    runner_.Send(RequestKind::ScanAddresses, 1, ProbeRequest(), probe.timeoutMs);
    SetProgress(probe.address, kLastAddress,
                sessionTexts::kAddressProgressPrefix + std::to_string(probe.address), true);
}

// The progress follows the request, so a press it prompts finds the request outstanding.
void ConnectionSteps::Issue(RequestKind kind, std::int32_t parameter) {
    switch (kind) {
    case RequestKind::ProbeAddress:
        runner_.Send(kind, parameter, ProbeRequest());
        SetProgress(1, 2, "", false);
        break;
    case RequestKind::ScanAddresses:
        IssueScan(parameter);
        break;
    default:
        runner_.Send(kind, parameter,
                     RegisterRequest::ReadHolding(registers::kIdentityBlock, identityRegisters_));
        break;
    }
}

void ConnectionSteps::Complete(RequestKind kind, short result) {
    const bool ok = result == 0;
    switch (kind) {
    case RequestKind::ProbeAddress:
        FillProgress(progress_.textVisible);
        if (ok) {
            Issue(RequestKind::ReadIdentity, 0);
        } else {
            NotFound();
        }
        break;
    case RequestKind::ScanAddresses:
        if (ok) {
            FillProgress(false);
            Issue(RequestKind::ReadIdentity, 0);
        } else if (scan_->Next(result == TOLVEX_REPLY_MISMATCH)) {
            Issue(RequestKind::ScanAddresses, 1);
        } else {
            FillProgress(false);
            NotFound();
        }
        break;
    default:
        if (ok) {
            ShowIdentity();
        } // else the watchdog repeats the request
        break;
    }
}

void ConnectionSteps::NotFound() {
    runner_.End();
    emit InstrumentNotFound();
}

void ConnectionSteps::ShowIdentity() {
    identity_ = DecodeIdentity(runner_.Reply(identityRegisters_));
    identified_ = true;
    runner_.End();
    emit IdentityShown(identity_);
}

void ConnectionSteps::ReportLost() {
    emit NoticeShown(MessageIcon::Warning, sessionTexts::kWarningTitle,
                     sessionTexts::LostCommunicationText());
    emit CommunicationLost();
}

} // namespace kestrix::instrument

#include "kestrix/instrument/ConnectionSession.h"

#include "TolvexAdapter.h"
#include "kestrix/instrument/SessionPrompts.h"
#include "kestrix/instrument/sessionTexts.h"
#include "tolvex/Enums.h"
#include "tolvex/ResultCode.h"

namespace kestrix {

namespace {

constexpr short kHandle = 0;
constexpr int kUpdateRate = 50;
constexpr short kTimeoutMs = 1000;
constexpr int kLastAddress = 99;

} // namespace

ConnectionSession::ConnectionSession(SessionPrompts& prompts, int identityRegisters,
                                     QObject* parent)
    : QObject(parent), prompts_(prompts), identityRegisters_(identityRegisters),
      adapter_(new tolvex::TolvexAdapter(this)) {
    watchdog_.setInterval(kWatchdogMs);
    watchdog_.setSingleShot(true);
    connect(&watchdog_, &QTimer::timeout, this, &ConnectionSession::OnWatchdog);
    connect(adapter_, &tolvex::TolvexAdapter::ResultOk, this, [this] { OnCompletion(); });
    connect(adapter_, &tolvex::TolvexAdapter::ResultError, this, [this] { OnCompletion(); });
}

ConnectionSession::~ConnectionSession() = default;

tolvex::CTolvexCtrl& ConnectionSession::Control() {
    return adapter_->Control();
}

bool ConnectionSession::SetConnection(int port, int address) {
    if (port < 1 || port > 32 || address < 0 || address > kLastAddress) {
        return false;
    }
    CloseFastPort();
    if (Control().IsConnected()) {
        Control().CloseConnection();
    }
    port_ = port;
    if (transport_ == Transport::Fast) {
        OpenFastPort(port);
        return true;
    }
    auto& control = Control();
    control.SetConnection(static_cast<short>(port));
    control.SetProtocolMode(static_cast<short>(tolvex::enumMode::ASCII));
    control.SetBaudRate(static_cast<short>(tolvex::enumBaud::B19200));
    control.SetDataBits(static_cast<short>(tolvex::enumBits::Eight));
    control.SetStopBits(static_cast<short>(tolvex::enumStopBits::One));
    control.SetParity(static_cast<short>(tolvex::enumParity::NONE));
    control.OpenConnection();
    autoDetect_ = address < 1;
    slaveAddress_ = autoDetect_ ? 1 : address;
    return true;
}

bool ConnectionSession::Configure(bool ok, const char* text) {
    if (!ok) {
        prompts_.Inform(MessageIcon::Warning, sessionTexts::kConfigurationErrorTitle, text);
    }
    return ok;
}

bool ConnectionSession::StartIdentification(std::optional<int> port, std::optional<int> address) {
    if (!Configure(port.has_value(), sessionTexts::kNoPortSelected) ||
        !Configure(address.has_value(), sessionTexts::kNoAddressSelected)) {
        return false;
    }
    transport_ = Transport::Modbus;
    if (!Configure(SetConnection(*port, *address), sessionTexts::kInvalidConnection)) {
        return false;
    }
    identified_ = false;
    identity_ = InstrumentIdentity();
    IssueRequest(autoDetect_ ? RequestKind::ScanAddresses : RequestKind::ProbeAddress, 0);
    return true;
}

void ConnectionSession::CloseConnections() {
    CloseFastPort();
    if (Control().IsConnected()) {
        Control().CloseConnection();
    }
}

void ConnectionSession::PressButton(WizardButton button) {
    pending_ = button;
    if (kind_ == RequestKind::Idle) {
        CarryOutPending();
    }
}

void ConnectionSession::CarryOutPending() {
    const WizardButton button = pending_;
    pending_ = WizardButton::None;
    if (button != WizardButton::None) {
        emit ButtonCarriedOut(button);
    }
}

void ConnectionSession::EndRequests() {
    kind_ = RequestKind::Idle;
}

void ConnectionSession::StartWatchdog() {
    watchdog_.start();
}

void ConnectionSession::StopWatchdog() {
    watchdog_.stop();
}

void ConnectionSession::DefineRead(bool holding, int address, int quantity) {
    auto& control = Control();
    const auto slave = static_cast<short>(slaveAddress_);
    const auto count = static_cast<short>(quantity);
    if (holding) {
        control.ReadHoldingRegisters(kHandle, slave, address, count, kUpdateRate);
    } else {
        control.ReadInputRegisters(kHandle, slave, address, count, kUpdateRate);
    }
}

void ConnectionSession::DefineWrite(int address, std::int16_t value) {
    Control().PresetSingleRegister(kHandle, static_cast<short>(slaveAddress_), address,
                                   kUpdateRate);
    Control().SetRegister(kHandle, 0, value);
}

void ConnectionSession::SetProgress(int value, int maximum, std::string text, bool textVisible) {
    progress_ = {value, maximum, std::move(text), textVisible};
    emit ConnectProgressChanged();
}

void ConnectionSession::DefineScan(std::int32_t parameter) {
    if (parameter == 0) {
        slaveAddress_ = 1;
    } else {
        ++slaveAddress_;
    }
    SetProgress(slaveAddress_, kLastAddress,
                sessionTexts::kAddressProgressPrefix + std::to_string(slaveAddress_), true);
    DefineRead(true, 0, 1);
}

void ConnectionSession::IssueRequest(RequestKind kind, std::int32_t parameter) {
    if (transport_ == Transport::Fast) {
        IssueFastRequest(kind, parameter);
        return;
    }
    kind_ = kind;
    parameter_ = parameter;
    switch (kind) {
    case RequestKind::ProbeAddress:
        SetProgress(1, 2, "", false);
        DefineRead(true, 0, 1);
        break;
    case RequestKind::ScanAddresses:
        DefineScan(parameter);
        break;
    case RequestKind::ReadIdentity:
        DefineRead(true, 0, identityRegisters_);
        break;
    default:
        DefineFurtherRequest(kind, parameter);
        break;
    }
    if (kind != RequestKind::ScanAddresses || parameter == 0) {
        Control().SetTimeout(kTimeoutMs);
    }
    unsentResult_.reset();
    if (!Control().IsConnected()) {
        // Nothing can go out: complete as a failure without waiting for the watchdog.
        unsentResult_ = static_cast<short>(tolvex::Code(tolvex::ResultCode::NotOpen));
        QMetaObject::invokeMethod(this, &ConnectionSession::OnCompletion, Qt::QueuedConnection);
    } else {
        Control().UpdateOnce(kHandle);
    }
    watchdog_.start();
}

void ConnectionSession::OnCompletion() {
    if (kind_ == RequestKind::Idle || transport_ == Transport::Fast) {
        return; // a late completion of a request already given up
    }
    watchdog_.stop();
    const short result = unsentResult_.value_or(Control().GetResult(kHandle));
    unsentResult_.reset();
    if (result == 0) {
        retries_ = 0;
    }
    if (pending_ != WizardButton::None && HandlePending()) {
        return;
    }
    if (IsIdentificationKind(kind_)) {
        CompleteIdentification(kind_, result);
    } else {
        CompleteFurtherRequest(kind_, result);
    }
    if (kind_ != RequestKind::Idle && !watchdog_.isActive()) {
        watchdog_.start();
    }
}

bool ConnectionSession::HandlePending() {
    if (!IsIdentificationKind(kind_)) {
        return HandlePendingDuringRun();
    }
    kind_ = RequestKind::Idle;
    CarryOutPending();
    return true;
}

void ConnectionSession::CompleteIdentification(RequestKind kind, short result) {
    const bool ok = result == 0;
    switch (kind) {
    case RequestKind::ProbeAddress:
        SetProgress(progress_.maximum, progress_.maximum, progress_.text, progress_.textVisible);
        if (ok) {
            IssueRequest(RequestKind::ReadIdentity, 0);
        } else {
            kind_ = RequestKind::Idle;
            emit InstrumentNotFound();
        }
        break;
    case RequestKind::ScanAddresses:
        if (ok) {
            SetProgress(progress_.maximum, progress_.maximum, progress_.text, false);
            IssueRequest(RequestKind::ReadIdentity, 0);
        } else if (slaveAddress_ < kLastAddress) {
            IssueRequest(RequestKind::ScanAddresses, 1);
        } else {
            SetProgress(progress_.maximum, progress_.maximum, progress_.text, false);
            kind_ = RequestKind::Idle;
            emit InstrumentNotFound();
        }
        break;
    default:
        if (ok) {
            ShowIdentity();
        }
        break;
    }
}

void ConnectionSession::ShowIdentity() {
    identity_ = DecodeIdentity(Reply(identityRegisters_));
    identified_ = true;
    kind_ = RequestKind::Idle;
    emit IdentityShown();
}

void ConnectionSession::OnWatchdog() {
    watchdog_.stop();
    if (kind_ == RequestKind::Idle) {
        return;
    }
    if (retries_ < kRetries) {
        ++retries_;
        IssueRequest(kind_, parameter_);
        return;
    }
    prompts_.Inform(MessageIcon::Warning, sessionTexts::kWarningTitle,
                    sessionTexts::LostCommunicationText());
    kind_ = RequestKind::Idle;
    parameter_ = 0;
    retries_ = 0;
    pending_ = WizardButton::None;
    OnCommunicationLost();
    transport_ = Transport::Modbus;
    emit CommunicationLost();
}

void ConnectionSession::DefineFurtherRequest(RequestKind, std::int32_t) {}

void ConnectionSession::IssueFastRequest(RequestKind, std::int32_t) {}

void ConnectionSession::CompleteFurtherRequest(RequestKind, short) {
    kind_ = RequestKind::Idle;
}

bool ConnectionSession::HandlePendingDuringRun() {
    kind_ = RequestKind::Idle;
    CarryOutPending();
    return true;
}

void ConnectionSession::OpenFastPort(int) {}

void ConnectionSession::CloseFastPort() {}

void ConnectionSession::OnCommunicationLost() {}

} // namespace kestrix

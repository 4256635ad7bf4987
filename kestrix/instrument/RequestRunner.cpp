#include "kestrix/instrument/RequestRunner.h"

#include "TolvexAdapter.h"
#include "tolvex/Enums.h"
#include "tolvex/ResultCode.h"

namespace kestrix {

namespace {

constexpr short kHandle = 0;
constexpr int kUpdateRate = 50;
constexpr short kTimeoutMs = 1000;

} // namespace

RequestRunner::RequestRunner(RequestClient& client, QObject* parent)
    : QObject(parent), client_(client), adapter_(new tolvex::TolvexAdapter(this)) {
    watchdog_.setInterval(kWatchdogMs);
    watchdog_.setSingleShot(true);
    connect(&watchdog_, &QTimer::timeout, this, &RequestRunner::OnWatchdog);
    connect(adapter_, &tolvex::TolvexAdapter::ResultOk, this, [this] { OnCompletion(); });
    connect(adapter_, &tolvex::TolvexAdapter::ResultError, this, [this] { OnCompletion(); });
}

RequestRunner::~RequestRunner() = default;

tolvex::CTolvexCtrl& RequestRunner::Control() {
    return adapter_->Control();
}

void RequestRunner::Open(int port) {
    auto& control = Control();
    control.SetConnection(static_cast<short>(port));
    control.SetProtocolMode(static_cast<short>(tolvex::enumMode::ASCII));
    control.SetBaudRate(static_cast<short>(tolvex::enumBaud::B19200));
    control.SetDataBits(static_cast<short>(tolvex::enumBits::Eight));
    control.SetStopBits(static_cast<short>(tolvex::enumStopBits::One));
    control.SetParity(static_cast<short>(tolvex::enumParity::NONE));
    control.OpenConnection();
}

void RequestRunner::Close() {
    if (Control().IsConnected()) {
        Control().CloseConnection();
    }
}

void RequestRunner::SetKind(RequestKind kind, std::int32_t parameter) {
    const bool wasBusy = IsBusy();
    kind_ = kind;
    parameter_ = parameter;
    if (wasBusy != IsBusy()) {
        emit BusyChanged(IsBusy());
    }
}

void RequestRunner::Define(const RegisterRequest& request) {
    auto& control = Control();
    const auto slave = static_cast<short>(slaveAddress_);
    const auto count = static_cast<short>(request.count);
    switch (request.access) {
    case RegisterRequest::Access::Holding:
        control.ReadHoldingRegisters(kHandle, slave, request.address, count, kUpdateRate);
        break;
    case RegisterRequest::Access::Input:
        control.ReadInputRegisters(kHandle, slave, request.address, count, kUpdateRate);
        break;
    case RegisterRequest::Access::Write:
        control.PresetSingleRegister(kHandle, slave, request.address, kUpdateRate);
        control.SetRegister(kHandle, 0, request.value);
        break;
    }
}

void RequestRunner::Send(RequestKind kind, std::int32_t parameter, const RegisterRequest& request,
                         bool keepTimeout) {
    SetKind(kind, parameter);
    Define(request);
    if (!keepTimeout) {
        Control().SetTimeout(kTimeoutMs);
    }
    onLine_ = true;
    unsentResult_ = 0;
    if (!Control().IsConnected()) {
        // Nothing can go out: complete as a failure without waiting for the watchdog.
        unsentResult_ = static_cast<short>(tolvex::Code(tolvex::ResultCode::NotOpen));
        QMetaObject::invokeMethod(this, &RequestRunner::OnCompletion, Qt::QueuedConnection);
    } else {
        Control().UpdateOnce(kHandle);
    }
    watchdog_.start();
}

void RequestRunner::Await(RequestKind kind, std::int32_t parameter) {
    SetKind(kind, parameter);
    onLine_ = false;
    watchdog_.start();
}

void RequestRunner::End() {
    watchdog_.stop();
    onLine_ = false;
    held_ = false;
    retries_ = 0;
    SetKind(RequestKind::Idle, 0);
}

void RequestRunner::Hold() {
    held_ = true;
    watchdog_.stop();
}

void RequestRunner::Release() {
    held_ = false;
}

void RequestRunner::WatchWhileBusy() {
    if (IsBusy() && !held_ && !watchdog_.isActive()) {
        watchdog_.start();
    }
}

RegisterReply RequestRunner::Reply(int count) {
    return RegisterReply::FromControl(Control(), count);
}

void RequestRunner::OnCompletion() {
    if (!onLine_ || held_) {
        return; // a late completion of a request already given up
    }
    onLine_ = false;
    watchdog_.stop();
    const short result = unsentResult_ != 0 ? unsentResult_ : Control().GetResult(kHandle);
    unsentResult_ = 0;
    if (result == 0) {
        retries_ = 0;
    }
    client_.CompleteRequest(kind_, result);
    WatchWhileBusy();
}

void RequestRunner::OnWatchdog() {
    if (!IsBusy() || held_) {
        return;
    }
    if (retries_ < kRetries) {
        ++retries_;
        client_.IssueRequest(kind_, parameter_);
        return;
    }
    End();
    client_.LoseCommunication();
}

} // namespace kestrix

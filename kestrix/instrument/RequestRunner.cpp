#include "kestrix/instrument/RequestRunner.h"

#include "tolvex/tolvex.h"

#include <QSocketNotifier>

namespace kestrix::instrument {

namespace {

constexpr short kHandle = 0;
constexpr int kUpdateRate = 50;

} // namespace

void RequestRunner::ControlDeleter::operator()(tolvex_control* control) const {
    tolvex_destroy(control);
}

// Success and failure alike: OnCompletion reads the handle's result.
void RequestRunner::OnResultOk(void* runner, short /*handle*/) {
    static_cast<RequestRunner*>(runner)->OnCompletion();
}

void RequestRunner::OnResultError(void* runner, short /*handle*/, short /*error*/) {
    static_cast<RequestRunner*>(runner)->OnCompletion();
}

RequestRunner::RequestRunner(RequestClient& client, QObject* parent)
    : QObject(parent), client_(client), control_(tolvex_create()) {
    watchdog_.setInterval(kWatchdogMs);
    watchdog_.setSingleShot(true);
    connect(&watchdog_, &QTimer::timeout, this, &RequestRunner::OnWatchdog);
    if (control_) {
        tolvex_set_callbacks(control_.get(), OnResultOk, OnResultError, this);
        notifier_ =
            new QSocketNotifier(tolvex_event_fd(control_.get()), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this,
                [this] { tolvex_dispatch_events(control_.get()); });
    }
}

RequestRunner::~RequestRunner() {
    // The notifier watches the control's descriptor, which goes with the control.
    delete notifier_;
}

bool RequestRunner::IsConnected() const {
    return control_ && tolvex_is_connected(control_.get()) != 0;
}

void RequestRunner::Open(int port) {
    if (!control_) {
        return; // every request then fails as not open
    }
    auto* control = control_.get();
    tolvex_set_connection(control, static_cast<short>(port));
    tolvex_set_protocol_mode(control, TOLVEX_MODE_ASCII);
    tolvex_set_baud_rate(control, TOLVEX_B19200);
    tolvex_set_data_bits(control, TOLVEX_BITS_EIGHT);
    tolvex_set_stop_bits(control, TOLVEX_STOP_BITS_ONE);
    tolvex_set_parity(control, TOLVEX_PARITY_NONE);
    tolvex_open_connection(control);
}

void RequestRunner::Close() {
    if (IsConnected()) {
        tolvex_close_connection(control_.get());
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
    auto* control = control_.get();
    const auto slave = static_cast<short>(slaveAddress_);
    const auto count = static_cast<short>(request.count);
    switch (request.access) {
    case RegisterRequest::Access::Holding:
        tolvex_read_holding_registers(control, kHandle, slave, request.address, count, kUpdateRate);
        break;
    case RegisterRequest::Access::Input:
        tolvex_read_input_registers(control, kHandle, slave, request.address, count, kUpdateRate);
        break;
    case RegisterRequest::Access::Write:
        tolvex_preset_single_register(control, kHandle, slave, request.address, kUpdateRate);
        tolvex_set_register(control, kHandle, 0, request.value);
        break;
    }
}

void RequestRunner::Send(RequestKind kind, std::int32_t parameter, const RegisterRequest& request,
                         int replyTimeoutMs) {
    SetKind(kind, parameter);
    onLine_ = true;
    unsentResult_ = 0;
    if (!IsConnected()) {
        // Nothing can go out: complete as a failure without waiting for the watchdog.
        unsentResult_ = TOLVEX_NOT_OPEN;
        QMetaObject::invokeMethod(this, &RequestRunner::OnCompletion, Qt::QueuedConnection);
    } else {
        Define(request);
        if (replyTimeoutMs == kTimeoutMs) {
            tolvex_set_timeout(control_.get(), kTimeoutMs);
        } else {
            tolvex_set_reply_timeout(control_.get(), replyTimeoutMs);
        }
        tolvex_update_once(control_.get(), kHandle);
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
    std::vector<std::uint16_t> registers(static_cast<size_t>(std::max(count, 0)));
    for (size_t index = 0; control_ && index < registers.size(); ++index) {
        registers[index] = static_cast<std::uint16_t>(
            tolvex_get_register(control_.get(), kHandle, static_cast<short>(index)));
    }
    return RegisterReply(std::move(registers));
}

void RequestRunner::OnCompletion() {
    if (!onLine_ || held_) {
        return; // a late completion of a request already given up
    }
    onLine_ = false;
    watchdog_.stop();
    const short result =
        unsentResult_ != 0 ? unsentResult_ : tolvex_get_result(control_.get(), kHandle);
    unsentResult_ = 0;
    if (result == TOLVEX_SEND_FAILED || result == TOLVEX_RECEIVE_FAILED) {
        // The device is gone (an adapter pulled out): asking again cannot help.
        End();
        client_.LoseCommunication();
        return;
    }
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

} // namespace kestrix::instrument

#pragma once

// The request discipline every session follows: one request at a time on handle 0 with update
// rate 50 and a Timeout of 1000 ms, a watchdog of 1500 ms that issues it again at most twice,
// and a hold while the user is asked something, during which neither a completion nor a watchdog
// tick reaches the session.

#include "kestrix/instrument/RegisterReply.h"
#include "kestrix/instrument/RequestKind.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <memory>

class QSocketNotifier;
struct tolvex_control;

namespace kestrix::instrument {

// One Modbus request: a read of holding or input registers, or a single-register write.
struct RegisterRequest {
    enum class Access { Holding, Input, Write };

    static RegisterRequest ReadHolding(int address, int count) {
        return {Access::Holding, address, count, 0};
    }
    static RegisterRequest ReadInput(int address, int count) {
        return {Access::Input, address, count, 0};
    }
    static RegisterRequest Write(int address, std::int16_t value) {
        return {Access::Write, address, 1, value};
    }

    Access access;
    int address;
    int count;
    std::int16_t value;
};

// What a session does for the runner.
class RequestClient {
public:
    virtual ~RequestClient() = default;
    // The watchdog repeats a request: the kind's own preparation runs again.
    virtual void IssueRequest(RequestKind kind, std::int32_t parameter) = 0;
    // The request completed with the control's result (0 success); the reply is in Reply().
    virtual void CompleteRequest(RequestKind kind, short result) = 0;
    // Two retries spent: the runner has already ended the request.
    virtual void LoseCommunication() = 0;
};

class RequestRunner : public QObject {
    Q_OBJECT

public:
    static constexpr int kWatchdogMs = 1500;
    static constexpr int kRetries = 2;

    explicit RequestRunner(RequestClient& client, QObject* parent = nullptr);
    ~RequestRunner() override;

    // Modbus ASCII at 19200 bit/s, 8 data bits, no parity, one stop bit on port 1..32, then
    // the connection is opened; a port that does not open shows up as failed requests.
    void Open(int port);
    void Close();

    int SlaveAddress() const { return slaveAddress_; }
    void SetSlaveAddress(int address) { slaveAddress_ = address; }

    static constexpr int kTimeoutMs = 1000;

    // Sends one request, waiting replyTimeoutMs for its reply (the Timeout of 1000 ms, or a
    // shorter one for the scan's quick pass).
    void Send(RequestKind kind, std::int32_t parameter, const RegisterRequest& request,
              int replyTimeoutMs = kTimeoutMs);
    // A request that goes out on another line (the fast transfer): outstanding, watched, and
    // ended by the session.
    void Await(RequestKind kind, std::int32_t parameter);
    // No request outstanding: kind and parameter 0, retries 0, watchdog stopped, no hold.
    void End();

    RequestKind Kind() const { return kind_; }
    std::int32_t Parameter() const { return parameter_; }
    bool IsBusy() const { return kind_ != RequestKind::Idle; }

    // A question is open: the watchdog stops and completions and ticks are ignored until
    // Release.
    void Hold();
    void Release();
    bool IsHeld() const { return held_; }

    void StartWatchdog() { watchdog_.start(); }
    void StopWatchdog() { watchdog_.stop(); }
    // The watchdog runs again while a request is outstanding and nothing is held.
    void WatchWhileBusy();
    void ResetRetries() { retries_ = 0; }

    RegisterReply Reply(int count);

signals:
    void BusyChanged(bool busy);

private:
    struct ControlDeleter {
        void operator()(tolvex_control* control) const;
    };
    static void OnResultOk(void* runner, short handle);
    static void OnResultError(void* runner, short handle, short error);
    bool IsConnected() const;
    void SetKind(RequestKind kind, std::int32_t parameter);
    void Define(const RegisterRequest& request);
    void OnCompletion();
    void OnWatchdog();

    RequestClient& client_;
    // Null only when the library could not make a control: every request then fails as not open.
    std::unique_ptr<tolvex_control, ControlDeleter> control_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer watchdog_;
    int slaveAddress_ = 1;
    RequestKind kind_ = RequestKind::Idle;
    std::int32_t parameter_ = 0;
    int retries_ = 0;
    bool held_ = false;
    // A Modbus request is on the line and its completion is due.
    bool onLine_ = false;
    // Set for a request that could not be sent: its completion is this failure.
    short unsentResult_ = 0;
};

} // namespace kestrix::instrument

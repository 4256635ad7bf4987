#pragma once

#include "ModbusMaster.h"
#include "RequestSlot.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <span>
#include <thread>

namespace tolvex {

// The request table of 100 handles and the worker thread that serves them one at a time through
// the ModbusMaster it owns. All storage is fixed; the table lock is never held while a transaction
// is on the wire.
class RequestEngine {
public:
    RequestEngine();
    RequestEngine(const RequestEngine&) = delete;
    RequestEngine& operator=(const RequestEngine&) = delete;
    ~RequestEngine();

    // Its connection and transport are set up and torn down only while the worker is stopped.
    ModbusMaster& Master() { return master_; }
    // The serial timeouts from the next transaction on, also while the worker runs.
    void SetSerialTimeouts(const SerialTimeouts& timeouts);

    // Defines (or redefines) a handle's request: mode 0, result 23, due as soon as enabled.
    bool DefineRequest(NoticeSink* owner, uint16_t handle, uint32_t updateRate,
                       const RequestDefinition& request);
    bool SetUpdateMode(uint16_t handle, UpdateMode mode);
    // Every slot becomes undefined and disabled.
    void StopAll();

    // Starts the worker; false when one runs already or the thread cannot be created.
    bool Start();
    // Ends the worker and waits for it, so the port or socket may be released afterwards.
    void Stop();
    bool IsRunning() const { return worker_.joinable(); }

    // 20 for a handle outside 0..99.
    uint16_t GetResult(int handle) const;
    // False for a handle outside 0..99.
    bool IsBusy(int handle) const;

    // Copies bytes from a handle's data area and returns the handle's result code. The handle
    // must be 0..99 and the bytes inside the area.
    uint16_t ReadData(int handle, size_t offset, std::span<uint8_t> out) const;
    // Copies bytes into a handle's write buffer; same preconditions.
    void WriteBuffer(int handle, size_t offset, std::span<const uint8_t> in);

private:
    struct Notice {
        NoticeSink* owner;
        uint16_t code;
        uint16_t handle;
    };

    void RunWorker();
    void RunPass();
    void WaitForPass(std::unique_lock<std::mutex>& lock);
    std::optional<int> PickHandle(uint32_t dt);
    std::optional<int> SearchDueHandle();
    void BeginTransaction(int handle);
    uint16_t RunTransaction();
    std::optional<Notice> FinishTransaction(int handle, uint16_t code);
    void PostNotice(const Notice& notice);
    void WakeWorker();

    ModbusMaster master_;
    std::array<RequestSlot, kHandleCount> slots_;
    std::array<uint16_t, kHandleCount> results_{};
    std::array<DataArea, kHandleCount> dataAreas_{};

    // Touched by the worker alone.
    RequestDefinition inProgress_;
    // Set by the host under the table lock, taken by the worker at its next transaction.
    std::optional<SerialTimeouts> pendingTimeouts_;
    DataArea workingBuffer_{};
    uint32_t lastTick_;
    int cursor_ = kHandleCount - 1;

    mutable std::mutex tableLock_;
    std::condition_variable wake_;
    bool wakeRequested_ = false;
    std::atomic<bool> run_{false};
    std::thread worker_;
};

} // namespace tolvex

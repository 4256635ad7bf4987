#include "RequestEngine.h"

#include "FunctionCode.h"
#include "RequestRules.h"
#include "TickCount.h"
#include "tolvex/ResultCode.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <system_error>

namespace tolvex {
namespace {

using namespace std::chrono_literals;

constexpr auto kPassPause = 10ms;
constexpr auto kPostRetryPause = 50ms;
constexpr int kPostAttempts = 10;
constexpr int kImmediateHandle = 0;

bool IsHandle(int handle) {
    return handle >= 0 && handle < kHandleCount;
}

uint32_t AddSaturated(uint32_t a, uint32_t b) {
    return b > std::numeric_limits<uint32_t>::max() - a ? std::numeric_limits<uint32_t>::max()
                                                        : a + b;
}

uint16_t FirstRegister(const DataArea& buffer) {
    uint16_t value;
    std::memcpy(&value, buffer.data(), sizeof value);
    return value;
}

} // namespace

RequestEngine::RequestEngine() : lastTick_(TickCount()) {}

RequestEngine::~RequestEngine() {
    Stop();
}

bool RequestEngine::DefineRequest(NoticeSink* owner, uint16_t handle, uint32_t updateRate,
                                  const RequestDefinition& request) {
    if (!IsAcceptableRequest(handle, updateRate, request)) {
        return false;
    }
    {
        std::lock_guard lock(tableLock_);
        RequestSlot& slot = slots_[handle];
        slot.owner = owner;
        slot.request = request;
        slot.updateRate = updateRate;
        if (slot.defined) {
            slot.redefined = true;
        }
        slot.defined = true;
        slot.mode = UpdateMode::Disabled;
        slot.elapsed = AddSaturated(updateRate, 1);
        results_[handle] = Code(ResultCode::Pending);
    }
    WakeWorker();
    return true;
}

bool RequestEngine::SetUpdateMode(uint16_t handle, UpdateMode mode) {
    if (handle >= kHandleCount) {
        return false;
    }
    {
        std::lock_guard lock(tableLock_);
        RequestSlot& slot = slots_[handle];
        if (!slot.defined) {
            return false;
        }
        if (mode != UpdateMode::Disabled) {
            slot.busy = true;
        }
        slot.mode = mode;
        slot.elapsed = AddSaturated(slot.updateRate, 1);
    }
    WakeWorker();
    return true;
}

void RequestEngine::StopAll() {
    std::lock_guard lock(tableLock_);
    for (RequestSlot& slot : slots_) {
        slot.defined = false;
        slot.mode = UpdateMode::Disabled;
    }
}

bool RequestEngine::Start() {
    if (worker_.joinable()) {
        return false;
    }
    run_ = true;
    try {
        worker_ = std::thread([this] { RunWorker(); });
    } catch (const std::system_error&) {
        run_ = false;
        return false;
    }
    return true;
}

void RequestEngine::Stop() {
    if (!worker_.joinable()) {
        return;
    }
    run_ = false;
    WakeWorker();
    // A transaction is bounded by the line's timeouts, so the join ends; only then may the
    // caller release the port or socket.
    worker_.join();
}

uint16_t RequestEngine::GetResult(int handle) const {
    if (!IsHandle(handle)) {
        return Code(ResultCode::HandleOutOfRange);
    }
    std::lock_guard lock(tableLock_);
    return results_[handle];
}

bool RequestEngine::IsBusy(int handle) const {
    return IsHandle(handle) && slots_[handle].busy.load();
}

uint16_t RequestEngine::ReadData(int handle, size_t offset, std::span<uint8_t> out) const {
    std::lock_guard lock(tableLock_);
    std::memcpy(out.data(), dataAreas_[handle].data() + offset, out.size());
    return results_[handle];
}

void RequestEngine::WriteBuffer(int handle, size_t offset, std::span<const uint8_t> in) {
    std::lock_guard lock(tableLock_);
    std::memcpy(slots_[handle].writeBuffer.data() + offset, in.data(), in.size());
}

void RequestEngine::WakeWorker() {
    {
        std::lock_guard lock(tableLock_);
        wakeRequested_ = true;
    }
    wake_.notify_one();
}

void RequestEngine::RunWorker() {
    while (run_) {
        RunPass();
    }
}

void RequestEngine::RunPass() {
    const uint32_t now = TickCount();
    const uint32_t dt = now - lastTick_;
    lastTick_ = now;

    std::unique_lock lock(tableLock_);
    WaitForPass(lock);
    if (!run_) {
        return;
    }
    const std::optional<int> handle = PickHandle(dt);
    if (!handle) {
        return;
    }
    BeginTransaction(*handle);
    lock.unlock();

    const uint16_t code = RunTransaction();

    lock.lock();
    const std::optional<Notice> notice = FinishTransaction(*handle, code);
    lock.unlock();
    // Posting outside the lock: a host blocked on the lock could not drain a full queue.
    if (notice) {
        PostNotice(*notice);
    }
}

void RequestEngine::WaitForPass(std::unique_lock<std::mutex>& lock) {
    // The pause of a pass, cut short when a request is defined or enabled so that it starts at
    // once; an idle engine still wakes about a hundred times a second.
    wake_.wait_for(lock, kPassPause, [this] { return wakeRequested_; });
    wakeRequested_ = false;
}

std::optional<int> RequestEngine::PickHandle(uint32_t dt) {
    const RequestSlot& immediate = slots_[kImmediateHandle];
    if (immediate.defined && immediate.mode != UpdateMode::Disabled) {
        // The time of a pass that serves handle 0 does not count toward the other rates.
        return kImmediateHandle;
    }
    for (RequestSlot& slot : slots_) {
        slot.elapsed = AddSaturated(slot.elapsed, dt);
    }
    return SearchDueHandle();
}

std::optional<int> RequestEngine::SearchDueHandle() {
    for (int step = 0; step < kHandleCount; ++step) {
        cursor_ = cursor_ + 1 >= kHandleCount ? 1 : cursor_ + 1;
        RequestSlot& slot = slots_[cursor_];
        if (slot.mode == UpdateMode::Disabled) {
            slot.busy = false;
        } else if (slot.defined && slot.elapsed > slot.updateRate) {
            slot.elapsed = 0;
            return cursor_;
        }
    }
    return std::nullopt;
}

void RequestEngine::SetSerialTimeouts(const SerialTimeouts& timeouts) {
    std::lock_guard lock(tableLock_);
    if (IsRunning()) {
        pendingTimeouts_ = timeouts;
    } else {
        master_.SetTimeouts(timeouts);
    }
}

void RequestEngine::BeginTransaction(int handle) {
    if (pendingTimeouts_) {
        master_.SetTimeouts(*pendingTimeouts_);
        pendingTimeouts_.reset();
    }
    RequestSlot& slot = slots_[handle];
    inProgress_ = slot.request;
    workingBuffer_ = slot.writeBuffer;
    slot.redefined = false;
    slot.busy = true;
}

uint16_t RequestEngine::RunTransaction() {
    const RequestDefinition& r = inProgress_;
    const auto slave = static_cast<uint8_t>(r.slave);
    const auto function = static_cast<uint8_t>(r.function);
    switch (static_cast<FunctionCode>(r.function)) {
    case FunctionCode::ReadCoils:
    case FunctionCode::ReadDiscreteInputs:
        return master_.ReadBits(slave, function, r.readAddress, r.readQuantity, workingBuffer_);
    case FunctionCode::ReadHoldingRegisters:
    case FunctionCode::ReadInputRegisters:
        return master_.ReadRegisters(slave, function, r.readAddress, r.readQuantity,
                                     workingBuffer_);
    case FunctionCode::WriteSingleCoil:
        return master_.WriteSingleCoil(slave, r.writeAddress, workingBuffer_[0]);
    case FunctionCode::WriteSingleRegister:
        return master_.WriteSingleRegister(slave, r.writeAddress, FirstRegister(workingBuffer_));
    case FunctionCode::WriteMultipleCoils:
        return master_.WriteMultipleCoils(slave, r.writeAddress, r.writeQuantity, workingBuffer_);
    case FunctionCode::WriteMultipleRegisters:
        return master_.WriteMultipleRegisters(slave, r.writeAddress, r.writeQuantity,
                                              workingBuffer_);
    case FunctionCode::ReadWriteMultipleRegisters:
        return master_.ReadWriteRegisters(slave, r.readAddress, r.readQuantity, r.writeAddress,
                                          r.writeQuantity, workingBuffer_);
    }
    // Refused when defined; never reached.
    return Code(ResultCode::SendFailed);
}

std::optional<RequestEngine::Notice> RequestEngine::FinishTransaction(int handle, uint16_t code) {
    RequestSlot& slot = slots_[handle];
    if (slot.redefined) {
        // The host replaced the request while it was on the wire: the new definition keeps its
        // pending code, nothing is copied and nobody is told.
        slot.busy = true;
        slot.redefined = false;
        return std::nullopt;
    }
    results_[handle] = code;
    if (handle == kImmediateHandle) {
        slot.defined = false;
    }
    if (slot.mode == UpdateMode::Once) {
        slot.mode = UpdateMode::Disabled;
    }
    if (code == Code(ResultCode::Success)) {
        dataAreas_[handle] = workingBuffer_;
    }
    slot.busy = false;
    if (slot.owner == nullptr || !run_) {
        return std::nullopt;
    }
    return Notice{slot.owner, code, static_cast<uint16_t>(handle)};
}

void RequestEngine::PostNotice(const Notice& notice) {
    for (int attempt = 1; attempt <= kPostAttempts && run_; ++attempt) {
        if (notice.owner->Post(notice.code, notice.handle)) {
            return;
        }
        std::this_thread::sleep_for(kPostRetryPause);
    }
    // Dropped: the result stays readable through GetResult.
}

} // namespace tolvex

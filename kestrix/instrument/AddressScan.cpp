#include "kestrix/instrument/AddressScan.h"

namespace kestrix::instrument {

namespace {

bool IsAddress(int address) {
    return address >= AddressScan::kFirstAddress && address <= AddressScan::kLastAddress;
}

} // namespace

AddressScan::AddressScan(int lastFound, int quickTimeoutMs, int fullTimeoutMs)
    : fullTimeoutMs_(fullTimeoutMs), fullPassQueued_(quickTimeoutMs >= fullTimeoutMs) {
    if (IsAddress(lastFound)) {
        queue_.push_back({lastFound, quickTimeoutMs});
    }
    for (int address = kFirstAddress; address <= kLastAddress; ++address) {
        if (address != lastFound) {
            queue_.push_back({address, quickTimeoutMs});
        }
    }
}

std::optional<AddressScan::Probe> AddressScan::Next(bool mismatched) {
    const Probe done = queue_.front();
    queue_.pop_front();
    const bool quick = done.timeoutMs < fullTimeoutMs_;
    if (mismatched && quick && !recent_.empty()) {
        // The late reply may be either earlier probe's; this one gets its own chance again, once:
        // the earlier probes are forgotten, so a second mismatch here counts as silence.
        queue_.push_front(done);
        for (auto it = recent_.rbegin(); it != recent_.rend(); ++it) {
            queue_.push_front({it->address, fullTimeoutMs_});
        }
        recent_.clear();
    } else if (quick) {
        recent_.push_back(done);
        if (recent_.size() > 2) {
            recent_.pop_front();
        }
    }
    if (queue_.empty() && !fullPassQueued_) {
        QueueFullPass();
    }
    if (queue_.empty()) {
        return std::nullopt;
    }
    return queue_.front();
}

void AddressScan::QueueFullPass() {
    fullPassQueued_ = true;
    recent_.clear();
    for (int address = kFirstAddress; address <= kLastAddress; ++address) {
        queue_.push_back({address, fullTimeoutMs_});
    }
}

} // namespace kestrix::instrument

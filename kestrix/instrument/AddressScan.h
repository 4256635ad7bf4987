#pragma once

// The order in which auto-detect probes the addresses 1..99: the address found last time first,
// then every address with a short reply timeout, and only when nothing answered, every address
// again with the full timeout. A reply that does not match its probe is a late reply to one of
// the two probes before it: those two are asked again with the full timeout before the scan goes
// on.

#include <deque>
#include <optional>

namespace kestrix::instrument {

class AddressScan {
public:
    struct Probe {
        int address;
        int timeoutMs;
        bool operator==(const Probe&) const = default;
    };

    static constexpr int kFirstAddress = 1;
    static constexpr int kLastAddress = 99;

    // lastFound outside 1..99 means none is known.
    AddressScan(int lastFound, int quickTimeoutMs, int fullTimeoutMs);

    const Probe& Current() const { return queue_.front(); }
    // The probe after the current one went unanswered, or was answered by a reply that did not
    // match it; none when every pass is spent.
    std::optional<Probe> Next(bool mismatched);

private:
    void QueueFullPass();

    std::deque<Probe> queue_;
    std::deque<Probe> recent_; // the last two quick probes, oldest first
    int fullTimeoutMs_;
    bool fullPassQueued_ = false;
};

} // namespace kestrix::instrument

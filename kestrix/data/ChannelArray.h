#pragma once

// The value, status and enable flag of every channel of one kind in a sample
// record. Out-of-range channels read as the neutral values (0, 0, enabled).

#include <cstdint>
#include <vector>

namespace kestrix::data {

template <typename Value>
class ChannelArray {
public:
    // A positive count recreates every channel cleared; any other count
    // removes the channels.
    void SetCount(std::int16_t count) {
        if (count > 0) {
            entries_.assign(static_cast<std::size_t>(count), Entry{});
        } else {
            entries_.clear();
        }
    }

    std::int16_t Count() const { return static_cast<std::int16_t>(entries_.size()); }

    bool Set(std::int16_t channel, Value value, std::uint8_t status, bool enable) {
        if (!Contains(channel)) {
            return false;
        }
        entries_[Index(channel)] = Entry{value, status, enable};
        return true;
    }

    Value GetValue(std::int16_t channel) const {
        return Contains(channel) ? entries_[Index(channel)].value : Value{};
    }

    std::uint8_t GetStatus(std::int16_t channel) const {
        return Contains(channel) ? entries_[Index(channel)].status : std::uint8_t{0};
    }

    bool GetEnable(std::int16_t channel) const {
        return Contains(channel) ? entries_[Index(channel)].enable : true;
    }

private:
    struct Entry {
        Value value{};
        std::uint8_t status = 0;
        bool enable = false;
    };

    bool Contains(std::int16_t channel) const {
        return channel >= 0 && static_cast<std::size_t>(channel) < entries_.size();
    }

    static std::size_t Index(std::int16_t channel) { return static_cast<std::size_t>(channel); }

    std::vector<Entry> entries_;
};

} // namespace kestrix::data

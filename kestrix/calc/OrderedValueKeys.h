#pragma once

// The keys that an ordered value collection may hold, each with a slot
// number; equal keys share one slot.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix::calc {

class OrderedValueKeys {
public:
    // The slot of the key, adding it when it is new.
    std::int32_t Intern(const std::string& key);

    std::optional<std::int32_t> Find(std::string_view key) const;
    const std::string& Key(std::int32_t slot) const {
        return keys_[static_cast<std::size_t>(slot)];
    }
    std::int32_t Count() const { return static_cast<std::int32_t>(keys_.size()); }

private:
    std::vector<std::string> keys_;
    std::vector<std::int32_t> slotsByKey_; // slots sorted by their keys
};

} // namespace kestrix::calc

#include "kestrix/calc/OrderedValueKeys.h"

#include <algorithm>

namespace kestrix::calc {

namespace {

auto KeyOrder(const std::vector<std::string>& keys) {
    return [&keys](std::int32_t slot, std::string_view key) {
        return std::string_view(keys[static_cast<std::size_t>(slot)]) < key;
    };
}

} // namespace

std::int32_t OrderedValueKeys::Intern(const std::string& key) {
    const auto position =
        std::lower_bound(slotsByKey_.begin(), slotsByKey_.end(), key, KeyOrder(keys_));
    if (position != slotsByKey_.end() && keys_[static_cast<std::size_t>(*position)] == key) {
        return *position;
    }
    const auto slot = Count();
    keys_.push_back(key);
    slotsByKey_.insert(position, slot);
    return slot;
}

std::optional<std::int32_t> OrderedValueKeys::Find(std::string_view key) const {
    const auto position =
        std::lower_bound(slotsByKey_.begin(), slotsByKey_.end(), key, KeyOrder(keys_));
    if (position == slotsByKey_.end() || keys_[static_cast<std::size_t>(*position)] != key) {
        return std::nullopt;
    }
    return *position;
}

} // namespace kestrix::calc

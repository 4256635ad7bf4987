#include "kestrix/calc/OrderedValues.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace kestrix::calc {

void OrderedValues::Reset(std::shared_ptr<const OrderedValueKeys> keys) {
    const auto slotCount = keys ? static_cast<std::size_t>(keys->Count()) : 0U;
    keys_ = std::move(keys);
    valueBySlot_.resize(slotCount);
    presentBySlot_.assign(slotCount, false);
    order_.clear();
}

void OrderedValues::Add(std::int32_t slot, double value) {
    const auto index = static_cast<std::size_t>(slot);
    if (presentBySlot_.at(index)) {
        return;
    }
    presentBySlot_[index] = true;
    valueBySlot_[index] = value;
    order_.push_back(slot);
}

std::optional<double> OrderedValues::Find(std::string_view key) const {
    if (!keys_) {
        return std::nullopt;
    }
    const auto slot = keys_->Find(key);
    return slot ? AtSlot(*slot) : std::nullopt;
}

std::optional<double> OrderedValues::AtSlot(std::int32_t slot) const {
    const auto index = static_cast<std::size_t>(slot);
    if (!presentBySlot_[index]) {
        return std::nullopt;
    }
    return valueBySlot_[index];
}

double OrderedValues::Value(std::string_view key) const {
    if (const auto value = Find(key)) {
        return *value;
    }
    throw std::out_of_range("no value under the key \"" + std::string(key) + "\"");
}

OrderedValues::Entry OrderedValues::EntryAt(std::int32_t slot) const {
    return {keys_->Key(slot), valueBySlot_[static_cast<std::size_t>(slot)]};
}

} // namespace kestrix::calc

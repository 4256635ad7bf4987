#pragma once

// A collection of doubles under text keys that keeps the order in which the
// values were added. Its storage is reused when it is filled again.

#include "kestrix/calc/OrderedValueKeys.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrix::calc {

class OrderedValues {
public:
    struct Entry {
        std::string_view key;
        double value;
    };

    class Iterator {
    public:
        using value_type = Entry;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        Iterator(const OrderedValues* owner, std::vector<std::int32_t>::const_iterator slot)
            : owner_(owner), slot_(slot) {}

        Entry operator*() const { return owner_->EntryAt(*slot_); }
        Iterator& operator++() {
            ++slot_;
            return *this;
        }
        Iterator operator++(int) {
            Iterator previous = *this;
            ++slot_;
            return previous;
        }
        bool operator==(const Iterator& other) const { return slot_ == other.slot_; }

    private:
        const OrderedValues* owner_ = nullptr;
        std::vector<std::int32_t>::const_iterator slot_;
    };

    // Empties the collection; from now on it may hold the given keys.
    void Reset(std::shared_ptr<const OrderedValueKeys> keys);

    // Adds the value under the slot's key; a key that is present already keeps its first value.
    void Add(std::int32_t slot, double value);

    bool Contains(std::string_view key) const { return Find(key).has_value(); }
    std::optional<double> Find(std::string_view key) const;
    // The keys the collection may hold since the last Reset; a reader that looks up the same
    // keys for many records finds their slots once per keys and reads AtSlot.
    const std::shared_ptr<const OrderedValueKeys>& Keys() const { return keys_; }
    // The value in the slot of Keys(); none when no value was added there.
    std::optional<double> AtSlot(std::int32_t slot) const;
    // The value under the key; std::out_of_range when the key is absent.
    double Value(std::string_view key) const;
    std::int32_t Count() const { return static_cast<std::int32_t>(order_.size()); }

    Iterator begin() const { return {this, order_.begin()}; }
    Iterator end() const { return {this, order_.end()}; }

private:
    Entry EntryAt(std::int32_t slot) const;

    std::shared_ptr<const OrderedValueKeys> keys_;
    std::vector<double> valueBySlot_;
    std::vector<bool> presentBySlot_;
    std::vector<std::int32_t> order_; // slots in the order their values were added
};

} // namespace kestrix::calc

#pragma once

// A per-row array that holds no memory until one row gets a value other than T{}: notes and
// spans are rare in most columns but dense in a few.

#include <cstddef>
#include <vector>

namespace kestrix::table {

template <typename T>
class LazyColumnArray {
public:
    T Get(std::size_t row) const { return values_.empty() ? T{} : values_[row]; }

    void Set(std::size_t row, T value) {
        if (values_.empty()) {
            if (value == T{}) {
                return;
            }
            values_.reserve(capacity_);
            values_.assign(size_, T{});
        }
        values_[row] = value;
    }

    // Capacity hint, also for an array allocated later.
    void Reserve(std::size_t rows) {
        capacity_ = rows;
        values_.reserve(values_.empty() ? 0 : rows);
    }

    void Resize(std::size_t size) {
        size_ = size;
        if (!values_.empty()) {
            values_.resize(size);
        }
    }

    void InsertAt(std::size_t row) {
        ++size_;
        if (!values_.empty()) {
            values_.insert(values_.begin() + static_cast<std::ptrdiff_t>(row), T{});
        }
    }

    // Whether any row was ever given a value other than T{}.
    bool Allocated() const { return !values_.empty(); }

    std::size_t BytesHeld() const { return values_.capacity() * sizeof(T); }

private:
    std::vector<T> values_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace kestrix::table
